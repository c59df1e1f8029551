// Modal boxes: the message box (a caption, a text and OK) and the settings
// dialog, built from the exe's dialog template. While one is open the rest
// of the page takes no input, as the exe's main window is disabled.
import { game } from './game.js';

// Dialog units in pixels for the template's 9-point font.
const UnitX = 1.5;
const UnitY = 1.5;

function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}

function boxWithCaption(caption, onClose) {
  const box = element('dialog', 'box');
  const bar = element('div', 'caption');
  bar.append(element('span', '', caption));
  const close = element('button', '', '×');
  close.type = 'button';
  close.className = 'close';
  close.setAttribute('aria-label', 'close');
  close.addEventListener('click', onClose);
  bar.append(close);
  box.append(bar);
  // Escape cancels, through the box's own handling.
  box.addEventListener('cancel', (event) => {
    event.preventDefault();
    onClose();
  });
  return box;
}

// Shows a message box and resolves when it is closed.
export function messageBox(text, caption) {
  return new Promise((resolve) => {
    const done = () => {
      box.close();
      box.remove();
      resolve();
    };
    const box = boxWithCaption(caption, done);
    box.classList.add('message');
    box.append(element('p', 'message-text', text));
    const buttons = element('div', 'message-buttons');
    const ok = element('button', 'push default', 'OK');
    ok.type = 'button';
    ok.addEventListener('click', done);
    buttons.append(ok);
    box.append(buttons);
    box.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
        done();
      }
    });
    document.body.append(box);
    box.showModal();
    ok.focus();
  });
}

// "&X" in a label: the letter is underlined, as the exe shows mnemonics.
export function withMnemonic(label) {
  const made = document.createDocumentFragment();
  const at = label.indexOf('&');
  if (at < 0 || at + 1 >= label.length) {
    made.append(label);
    return made;
  }
  made.append(label.slice(0, at));
  made.append(element('u', '', label[at + 1]));
  made.append(label.slice(at + 2));
  return made;
}

// What the exe's unsigned field reading makes of the text: digits only,
// 0 for anything else or beyond 32 bits, taken as a signed 32-bit number.
function fieldNumber(text) {
  if (!/^[0-9]+$/.test(text)) return 0;
  const value = Number(text);
  return value > 0xFFFFFFFF ? 0 : value | 0;
}

const RefusalFormats = ['', 'ColumnsRangeFormat', 'RowsRangeFormat', 'BombsRangeFormat'];

// The settings dialog. Resolves true after an OK that stored new values,
// false after a cancel.
export function settingsDialog(data) {
  const { dialog, ids, texts } = data;
  const ex = game.exports;
  return new Promise((resolve) => {
    let refusing = false;
    const finish = (accepted) => {
      if (refusing) return;
      box.close();
      box.remove();
      resolve(accepted);
    };
    const box = boxWithCaption(dialog.caption, () => finish(false));
    box.classList.add('settings');
    const body = element('div', 'dialog-body');
    body.style.width = `${dialog.width * UnitX}px`;
    body.style.height = `${dialog.height * UnitY}px`;
    const fields = {};
    const initial = { [ids.IDC_COLUMNS]: ex.Columns(), [ids.IDC_ROWS]: ex.Rows(), [ids.IDC_BOMBS]: ex.BombCount() };
    const labelFor = {};
    dialog.controls.forEach((control, index) => {
      let made;
      if (control.kind === 'EDIT') {
        made = element('input');
        made.type = 'text';
        made.inputMode = 'numeric';
        made.id = `field-${control.id}`;
        made.autocomplete = 'off';
        made.value = String(initial[control.id] >>> 0);
        // Only digits can be typed, as in the exe's number fields.
        made.addEventListener('input', () => {
          made.value = made.value.replace(/[^0-9]/g, '');
        });
        fields[control.id] = made;
      } else if (control.kind === 'BUTTON') {
        made = element('button', control.default ? 'push default' : 'push', control.text);
        made.type = 'button';
        made.dataset.id = control.id;
      } else {
        made = element('label', '', control.text);
        // A label names the field that follows it on the board of the dialog.
        labelFor[index] = made;
      }
      made.style.left = `${control.x * UnitX}px`;
      made.style.top = `${control.y * UnitY}px`;
      made.style.width = `${control.width * UnitX}px`;
      made.style.height = `${control.height * UnitY}px`;
      body.append(made);
    });
    // Labels stand left of their fields, in the same order.
    const edits = dialog.controls.filter((c) => c.kind === 'EDIT');
    Object.values(labelFor).forEach((label, i) => {
      if (edits[i]) label.htmlFor = `field-${edits[i].id}`;
    });
    box.append(body);

    const accept = async () => {
      if (refusing) return;
      const read = (id) => fieldNumber(fields[id].value);
      const field = ex.AcceptSettings(read(ids.IDC_COLUMNS), read(ids.IDC_ROWS), read(ids.IDC_BOMBS));
      if (field === 0) {
        finish(true);
        return;
      }
      const [low, high] = new Int32Array(ex.memory.buffer, ex.RefusedRange(), 2);
      const text = texts[RefusalFormats[field]].replace('%d', low).replace('%d', high);
      refusing = true;
      await messageBox(text, texts.ErrorCaption);
      refusing = false;
    };
    body.addEventListener('click', (event) => {
      const id = Number(event.target.dataset.id);
      if (id === ids.IDOK) accept();
      else if (id === ids.IDCANCEL) finish(false);
    });
    box.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && !refusing) {
        event.preventDefault();
        accept();
      }
    });
    document.body.append(box);
    box.showModal();
    // Placed at the top-left corner of the board, as the exe's template says.
    const client = document.getElementById('client').getBoundingClientRect();
    box.style.margin = '0';
    box.style.left = `${Math.max(0, client.left)}px`;
    box.style.top = `${Math.max(0, client.top)}px`;
    // The focus stays on the dialog itself, as in the exe.
    box.focus();
  });
}
