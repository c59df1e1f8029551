// The menu bar of the exe's menu 104: opened with the mouse, or from the
// keyboard with Alt and the underlined letter (or Alt alone, then the
// letter); arrows move, Enter or an item's letter chooses, Escape closes.
import { withMnemonic } from './boxes.js';

let menus = [];  // { element, items: [{ element, id, key }], key }
let openIndex = -1;
let activeItem = -1;
let armed = false;
let runCommand = () => {};

function mnemonic(label) {
  const at = label.indexOf('&');
  return at >= 0 ? label[at + 1].toUpperCase() : '';
}

function modalOpen() {
  return document.querySelector('dialog[open]') !== null;
}

function highlight(index) {
  activeItem = index;
  menus[openIndex].items.forEach((item, i) => item.element.classList.toggle('active', i === index));
}

function open(index, withFirstItem) {
  close();
  openIndex = index;
  menus[index].element.classList.add('open');
  menus[index].element.querySelector('.menu-title').setAttribute('aria-expanded', 'true');
  highlight(withFirstItem ? 0 : -1);
}

export function close() {
  armed = false;
  for (const menu of menus) {
    menu.element.classList.remove('open', 'armed');
    menu.element.querySelector('.menu-title').setAttribute('aria-expanded', 'false');
  }
  openIndex = -1;
  activeItem = -1;
}

function choose(item) {
  close();
  runCommand(item.id);
}

function onKey(event) {
  if (modalOpen()) return;
  const letter = event.code.startsWith('Key') ? event.code.slice(3) : '';
  if (event.type === 'keyup') {
    // Alt pressed and let go alone arms the bar, as on the desktop.
    if (event.key === 'Alt' && armed === 'pending') {
      armed = true;
      menus[0].element.classList.add('armed');
    } else if (armed === 'pending') {
      armed = false;
    }
    return;
  }
  if (event.key === 'Alt') {
    if (openIndex < 0 && !armed) armed = 'pending';
    else if (openIndex >= 0 || armed === true) close();
    event.preventDefault();
    return;
  }
  if (openIndex < 0) {
    const index = menus.findIndex((menu) => menu.key === letter);
    if ((event.altKey || armed === true) && index >= 0) {
      event.preventDefault();
      open(index, true);
    } else if (event.key === 'Escape' || armed === true) {
      close();
    } else if (armed === 'pending') {
      armed = false;
    }
    return;
  }
  const items = menus[openIndex].items;
  event.preventDefault();
  if (event.key === 'Escape') {
    close();
  } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
    const step = event.key === 'ArrowDown' ? 1 : items.length - 1;
    highlight((Math.max(activeItem, event.key === 'ArrowDown' ? -1 : 0) + step) % items.length);
  } else if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
    const step = event.key === 'ArrowRight' ? 1 : menus.length - 1;
    open((openIndex + step) % menus.length, true);
  } else if (event.key === 'Enter' && activeItem >= 0) {
    choose(items[activeItem]);
  } else {
    const item = items.find((it) => it.key === letter);
    if (item) choose(item);
  }
}

// Builds the bar from the menu of the resource script; `command(id)` runs
// the chosen item's command ID.
export function setUpMenu(bar, menuData, command) {
  runCommand = command;
  menus = menuData.map((menu, index) => {
    const element = document.createElement('div');
    element.className = 'menu';
    const title = document.createElement('button');
    title.type = 'button';
    title.className = 'menu-title';
    title.setAttribute('role', 'menuitem');
    title.setAttribute('aria-haspopup', 'true');
    title.append(withMnemonic(menu.text));
    title.addEventListener('mousedown', (event) => {
      event.preventDefault();
      if (openIndex === index) close();
      else open(index, false);
    });
    title.addEventListener('mouseenter', () => {
      if (openIndex >= 0 && openIndex !== index) open(index, false);
    });
    element.append(title);
    const list = document.createElement('ul');
    list.className = 'menu-items';
    list.setAttribute('role', 'menu');
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
      li.dataset.id = entry.id;
      li.append(withMnemonic(entry.text));
      const item = { element: li, id: entry.id, key: mnemonic(entry.text) };
      const position = items.length;
      li.addEventListener('mouseenter', () => highlight(position));
      li.addEventListener('mouseup', () => choose(item));
      items.push(item);
      list.append(li);
    }
    element.append(list);
    bar.append(element);
    return { element, items, key: mnemonic(menu.text) };
  });
  document.addEventListener('keydown', onKey);
  document.addEventListener('keyup', onKey);
  document.addEventListener('mousedown', (event) => {
    if (openIndex >= 0 && !bar.contains(event.target)) close();
  });
}
