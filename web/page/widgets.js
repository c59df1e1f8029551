// Small pieces that the page's menus, boxes and board share.

export function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
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

// While a modal box is open, the rest of the page takes no input.
export function modalOpen() {
  return document.querySelector('dialog[open]') !== null;
}

// A text of the program with its %d and %s filled in, in order, as the
// exe's formatting does.
export function format(text, ...values) {
  let next = 0;
  return text.replace(/%[ds]/g, () => String(values[next++]));
}
