// Modal boxes: the message box (a caption, a text and OK) and the settings
// dialog, built from the exe's dialog template. While one is open the rest
// of the page takes no input, as the exe's main window is disabled. As in a
// Windows dialog, Tab goes round the controls and never leaves the box,
// Enter presses the focused push button (the default one from a field or
// the box itself), Escape and the caption's close box cancel.
import { game, cString } from './game.js';
import { readFieldNumber } from './settings.js';
import { element, format } from './widgets.js';

let texts = {};
let boxes = 0;

export function setUpBoxes(pageTexts) {
  texts = pageTexts;
}

function tabStops(box) {
  return [...box.querySelectorAll('input, button.push')].filter((control) => !control.disabled);
}

function modalBox(caption, onCancel) {
  const id = `box-${++boxes}`;
  const box = element('dialog', 'box');
  box.tabIndex = -1;
  box.setAttribute('aria-labelledby', `${id}-caption`);
  const bar = element('div', 'caption');
  const title = element('span', '', caption);
  title.id = `${id}-caption`;
  bar.append(title);
  const close = element('button', 'close', '×');
  close.type = 'button';
  close.tabIndex = -1;
  close.setAttribute('aria-label', texts.PageCloseButton);
  close.title = texts.PageCloseButton;
  close.addEventListener('click', onCancel);
  bar.append(close);
  box.append(bar);
  box.addEventListener('cancel', (event) => {
    event.preventDefault();
    onCancel();
  });
  box.addEventListener('keydown', (event) => {
    if (event.key === 'Tab') {
      const stops = tabStops(box);
      const at = stops.indexOf(document.activeElement);
      const step = event.shiftKey ? stops.length - 1 : 1;
      const next = at < 0 ? (event.shiftKey ? stops.length - 1 : 0) : (at + step) % stops.length;
      stops[next].focus();
      event.preventDefault();
    } else if (event.key === 'Enter' && !event.isComposing && !(document.activeElement instanceof HTMLButtonElement)) {
      // A focused button takes Enter itself; from anywhere else it is the default button's.
      box.querySelector('button.default').click();
      event.preventDefault();
    }
  });
  return { id, box };
}

function show(box) {
  document.body.append(box);
  box.showModal();
}

function dismiss(box) {
  box.close();
  box.remove();
}

// Shows a message box and resolves when it is closed.
export function messageBox(text, caption) {
  return new Promise((resolve) => {
    const done = () => {
      dismiss(box);
      resolve();
    };
    const { id, box } = modalBox(caption, done);
    box.classList.add('message');
    const message = element('p', 'message-text', text);
    message.id = `${id}-text`;
    box.setAttribute('aria-describedby', message.id);
    box.setAttribute('role', 'alertdialog');
    box.append(message);
    const buttons = element('div', 'message-buttons');
    const ok = element('button', 'push default', 'OK');
    ok.type = 'button';
    ok.addEventListener('click', done);
    buttons.append(ok);
    box.append(buttons);
    show(box);
    ok.focus();
  });
}

// The dialog stays at the top-left corner of the board's window, as the
// exe's template places it, also when the page's layout moves the window.
function placeAtClient(box) {
  const client = document.getElementById('client').getBoundingClientRect();
  box.style.left = `${Math.max(0, client.left) + window.scrollX}px`;
  box.style.top = `${Math.max(0, client.top) + window.scrollY}px`;
}

// The settings dialog. Resolves true after an OK that stored new values,
// false after a cancel.
export function settingsDialog(data) {
  const { dialog, ids } = data;
  const ex = game.exports;
  return new Promise((resolve) => {
    let refusing = false;
    const follow = () => placeAtClient(box);
    const watcher = new ResizeObserver(follow);
    const finish = (accepted) => {
      if (refusing) return;
      watcher.disconnect();
      window.removeEventListener('resize', follow);
      dismiss(box);
      resolve(accepted);
    };
    const { id, box } = modalBox(dialog.caption, () => finish(false));
    box.classList.add('settings');
    // The template's font, and dialog units measured in it: a quarter of
    // its average character width across, an eighth of its height down.
    const fontPixels = (dialog.font.points * 96) / 72;
    box.style.setProperty('--dialog-font', `${fontPixels}px "${dialog.font.face}"`);
    box.style.setProperty('--unit-x', `${fontPixels / 8}px`);
    box.style.setProperty('--unit-y', `${fontPixels / 8}px`);
    const description = element('p', 'visually-hidden', texts.PageSettingsDescription);
    description.id = `${id}-text`;
    box.setAttribute('aria-describedby', description.id);
    box.append(description);
    const body = element('div', 'dialog-body');
    body.style.setProperty('--w', dialog.width);
    body.style.setProperty('--h', dialog.height);
    const fields = {};
    const initial = { [ids.IDC_COLUMNS]: ex.Columns(), [ids.IDC_ROWS]: ex.Rows(), [ids.IDC_BOMBS]: ex.BombCount() };
    const labels = [];
    for (const control of dialog.controls) {
      let made;
      if (control.kind === 'EDIT') {
        made = element('input');
        made.type = 'text';
        made.inputMode = 'numeric';
        made.id = `${id}-field-${control.id}`;
        made.autocomplete = 'off';
        made.spellcheck = false;
        // Filled as the exe fills its fields: the number unsigned.
        made.value = String(initial[control.id] >>> 0);
        fields[control.id] = made;
      } else if (control.kind === 'BUTTON') {
        made = element('button', control.default ? 'push default' : 'push', control.text);
        made.type = 'button';
        made.dataset.id = control.id;
      } else {
        made = element('label', '', control.text);
        labels.push(made);
      }
      for (const [name, value] of [['x', control.x], ['y', control.y], ['w', control.width], ['h', control.height]]) {
        made.style.setProperty(`--${name}`, value);
      }
      body.append(made);
    }
    // Each label stands left of its field, in the same order.
    Object.values(fields).forEach((field, i) => {
      if (labels[i]) labels[i].htmlFor = field.id;
    });
    box.append(body);

    const accept = async () => {
      if (refusing) return;
      const read = (field) => readFieldNumber(fields[ids[field]].value);
      const refused = ex.AcceptSettings(read('IDC_COLUMNS'), read('IDC_ROWS'), read('IDC_BOMBS'));
      if (refused === 0) {
        finish(true);
        return;
      }
      const [low, high] = new Int32Array(ex.memory.buffer, ex.RefusedRange(), 2);
      const text = format(texts[cString(ex.RefusalText())], low, high);
      refusing = true;
      await messageBox(text, texts.ErrorCaption);
      refusing = false;
    };
    body.addEventListener('click', (event) => {
      const command = Number(event.target.closest('button')?.dataset.id);
      if (command === ids.IDOK) accept();
      else if (command === ids.IDCANCEL) finish(false);
    });
    show(box);
    placeAtClient(box);
    watcher.observe(document.getElementById('client'));
    window.addEventListener('resize', follow);
    // The focus stays on the dialog itself, as in the exe.
    box.focus();
  });
}
