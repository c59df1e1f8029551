// The menu bar of the exe's menu 104, as a Windows menu bar behaves. Mouse:
// a press on a title opens its menu, a release on an item chooses it, and
// a press anywhere else only closes the menu. Keyboard: Alt or F10 arms the
// bar (its first title highlighted), Left and Right move, Down, Enter or
// Space open, letters choose, Escape backs out one step; Alt with a letter
// opens that menu at once. A title reached with Tab is an armed title.
import { withMnemonic, modalOpen } from './widgets.js';

let menus = [];  // { element, title, list, items: [{ element, id, key }], key }
let openIndex = -1;
let activeItem = -1;
let altAlone = false;      // Alt is down and no other key came since
let returnFocus = null;    // where the focus goes back when the bar lets go
let swallowing = false;    // the press that closed a menu, until its buttons are up
let runCommand = () => {};

function mnemonic(label) {
  const at = label.indexOf('&');
  return at >= 0 && at + 1 < label.length ? label[at + 1].toUpperCase() : '';
}

function letterOf(event) {
  return event.code.startsWith('Key') ? event.code.slice(3) : '';
}

function armedIndex() {
  return menus.findIndex((menu) => menu.title === document.activeElement);
}

// One title of the bar is its tab stop: the last one highlighted.
function makeTabStop(index) {
  menus.forEach((menu, i) => { menu.title.tabIndex = i === index ? 0 : -1; });
}

function arm(index) {
  makeTabStop(index);
  menus[index].title.focus();
}

function highlight(index) {
  activeItem = index;
  const { items } = menus[openIndex];
  items.forEach((item, i) => item.element.classList.toggle('active', i === index));
  if (index >= 0) items[index].element.focus();
  else menus[openIndex].title.focus();
}

function open(index, withFirstItem) {
  closeList();
  openIndex = index;
  makeTabStop(index);
  const menu = menus[index];
  menu.element.classList.add('open');
  menu.title.setAttribute('aria-expanded', 'true');
  highlight(withFirstItem ? 0 : -1);
}

function closeList() {
  if (openIndex < 0) return;
  const menu = menus[openIndex];
  menu.element.classList.remove('open');
  menu.title.setAttribute('aria-expanded', 'false');
  menu.items.forEach((item) => item.element.classList.remove('active'));
  openIndex = -1;
  activeItem = -1;
}

// Lets go of the bar: no menu open, nothing highlighted, the focus back
// where it was before.
export function closeMenus() {
  const wasInBar = menus.some((menu) => menu.element.contains(document.activeElement));
  closeList();
  if (wasInBar) {
    if (returnFocus && returnFocus.isConnected && returnFocus !== document.body) returnFocus.focus();
    else document.activeElement.blur();
  }
  returnFocus = null;
}

function choose(item) {
  closeMenus();
  runCommand(item.id);
}

// Keys while a menu is open, or a title armed.
function menuKey(event) {
  const letter = letterOf(event);
  if (openIndex >= 0) {
    const { items } = menus[openIndex];
    if (event.key === 'Escape') {
      const index = openIndex;
      closeList();
      menus[index].title.focus();
    } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      const step = event.key === 'ArrowDown' ? 1 : items.length - 1;
      const from = activeItem >= 0 ? activeItem : (event.key === 'ArrowDown' ? items.length - 1 : 0);
      highlight((from + step) % items.length);
    } else if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
      const step = event.key === 'ArrowRight' ? 1 : menus.length - 1;
      open((openIndex + step) % menus.length, true);
    } else if ((event.key === 'Enter' || event.key === ' ') && activeItem >= 0) {
      choose(items[activeItem]);
    } else if (event.key === 'Tab') {
      closeMenus();
      return;
    } else {
      const item = items.find((it) => it.key === letter);
      if (item) choose(item);
    }
    event.preventDefault();
    event.stopPropagation();
    return;
  }
  const armed = armedIndex();
  if (armed < 0) return;
  if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
    const step = event.key === 'ArrowRight' ? 1 : menus.length - 1;
    arm((armed + step) % menus.length);
  } else if (event.key === 'ArrowDown' || event.key === 'Enter' || event.key === ' ') {
    open(armed, true);
  } else if (event.key === 'Escape') {
    closeMenus();
  } else if (event.key === 'Tab') {
    returnFocus = null;
    return;  // the focus moves on by itself
  } else {
    const index = menus.findIndex((menu) => menu.key === letter);
    if (index >= 0) open(index, true);
  }
  event.preventDefault();
  event.stopPropagation();
}

// Taken before anything else on the page sees the key.
function onKeyDown(event) {
  if (modalOpen() || event.isComposing) return;
  if (event.key === 'Alt') {
    altAlone = !event.repeat || altAlone;
    event.preventDefault();
    return;
  }
  altAlone = false;
  if (event.key === 'F10' && !event.shiftKey) {
    if (openIndex >= 0 || armedIndex() >= 0) closeMenus();
    else arm(0);
    event.preventDefault();
    event.stopPropagation();
    return;
  }
  if (event.altKey && openIndex < 0) {
    const index = menus.findIndex((menu) => menu.key === letterOf(event));
    if (index >= 0) {
      open(index, true);
      event.preventDefault();
      event.stopPropagation();
    }
    return;
  }
  menuKey(event);
}

// Alt pressed and let go alone arms the bar, or lets go of it.
function onKeyUp(event) {
  if (event.key !== 'Alt' || !altAlone || modalOpen()) return;
  altAlone = false;
  if (openIndex >= 0 || armedIndex() >= 0) closeMenus();
  else arm(0);
  event.preventDefault();
}

// While a menu is open, a press outside the bar closes it and does nothing
// else: neither the press, nor the moves while it is held, nor its release
// reach the board. It ends when its last button is up: at the mouseup that
// follows a mouse's pointerup (at once, where the browser sends none).
function onPressOutside(event) {
  if (swallowing) {
    if (event.type === 'mousedown' || event.type === 'pointerdown' || event.type === 'contextmenu') event.preventDefault();
    event.stopPropagation();
    if (event.buttons & 7) return;
    if (event.type === 'mouseup') swallowing = false;
    else if (event.type === 'pointerup' || event.type === 'pointercancel') setTimeout(() => { swallowing = false; });
    return;
  }
  if (event.type !== 'pointerdown' && event.type !== 'mousedown') return;
  if (openIndex < 0 || menus.some((menu) => menu.element.contains(event.target))) return;
  closeMenus();
  event.stopPropagation();
  swallowing = true;
}

function buildMenu(menu, index) {
  const element = document.createElement('div');
  element.className = 'menu';
  element.setAttribute('role', 'none');
  const title = document.createElement('button');
  title.type = 'button';
  title.className = 'menu-title';
  title.id = `menu-title-${index}`;
  title.tabIndex = index === 0 ? 0 : -1;
  title.setAttribute('role', 'menuitem');
  title.setAttribute('aria-haspopup', 'menu');
  title.setAttribute('aria-expanded', 'false');
  title.append(withMnemonic(menu.text));
  title.addEventListener('mousedown', (event) => {
    event.preventDefault();
    if (event.button !== 0) return;
    if (openIndex === index) closeMenus();
    else open(index, false);
  });
  title.addEventListener('mouseenter', () => {
    if (openIndex >= 0 && openIndex !== index) open(index, false);
  });
  // A title reached with Tab opens from its own keys (menuKey); a click
  // that is no mouse press (a screen reader's) opens it too.
  title.addEventListener('click', (event) => {
    if (event.detail === 0 && openIndex !== index) open(index, true);
  });
  element.append(title);
  const list = document.createElement('ul');
  list.className = 'menu-items';
  list.setAttribute('role', 'menu');
  list.setAttribute('aria-labelledby', title.id);
  const items = [];
  for (const entry of menu.items) {
    const li = document.createElement('li');
    if (entry.separator) {
      li.className = 'menu-separator';
      li.setAttribute('role', 'separator');
      list.append(li);
      continue;
    }
    li.className = 'menu-item';
    li.setAttribute('role', 'menuitem');
    li.tabIndex = -1;
    li.dataset.id = entry.id;
    li.append(withMnemonic(entry.text));
    const item = { element: li, id: entry.id, key: mnemonic(entry.text) };
    const position = items.length;
    li.addEventListener('mouseenter', () => highlight(position));
    li.addEventListener('mouseup', (event) => {
      if (event.button === 0) choose(item);
    });
    li.addEventListener('click', (event) => {
      if (event.detail === 0) choose(item);
    });
    items.push(item);
    list.append(li);
  }
  element.append(list);
  return { element, title, list, items, key: mnemonic(menu.text) };
}

// Builds the bar from the menu of the resource script; `command(id)` runs
// the chosen item's command ID.
export function setUpMenu(bar, menuData, command) {
  runCommand = command;
  menus = menuData.map(buildMenu);
  for (const menu of menus) bar.append(menu.element);
  // Where the focus came from into the bar is where it goes back.
  bar.addEventListener('focusin', (event) => {
    if (!bar.contains(event.relatedTarget)) returnFocus = event.relatedTarget;
  });
  bar.addEventListener('focusout', (event) => {
    if (!bar.contains(event.relatedTarget) && openIndex >= 0 && event.relatedTarget) closeList();
  });
  window.addEventListener('keydown', onKeyDown, { capture: true });
  window.addEventListener('keyup', onKeyUp, { capture: true });
  for (const type of ['pointerdown', 'mousedown', 'pointermove', 'mousemove', 'pointerup', 'mouseup',
    'pointercancel', 'click', 'contextmenu']) {
    window.addEventListener(type, onPressOutside, { capture: true });
  }
}
