// The mouse over the board, turned into the exe's five mouse cases: the
// buttons held after the event, mapped by name onto the bits the window
// messages carry, and the client-area pixel. Like the exe, which takes no
// capture, the game hears the mouse only while it is over the board.
// The mouse is heard through its pointer events, whose positions fall
// between CSS pixels: a mouse event's lies on a whole CSS pixel, which at a
// devicePixelRatio of 1.5 may be another pixel of the board.
import { game, clientPoint } from './game.js';
import labels from 'page-labels';

// What the DOM calls the buttons: the bits of `buttons`, the values of `button`.
const Held = { primary: 1, secondary: 2 };
const Button = { primary: 0, secondary: 2, none: -1 };

function held(event) {
  const ex = game.exports;
  return (event.buttons & Held.primary ? ex.MouseLeft() : 0) | (event.buttons & Held.secondary ? ex.MouseRight() : 0);
}

// Mouse events that a touch screen makes up after a touch are not a mouse.
function madeByTouch(event) {
  return event.sourceCapabilities ? event.sourceCapabilities.firesTouchEvents : false;
}

// The buttons held at the last event heard over the board. A move's change
// of buttons is worked out from `buttons`, which every engine reports
// alike: `button` on a plain move made while a button is held is -1 in
// Chromium and Firefox but 0 in WebKit, which would read as a left press.
let before = 0;
const heard = (event) => event.buttons & (Held.primary | Held.secondary);

// The mouse layer's case for each button let down or up, by name.
const { mouseCases } = labels;
const cases = [
  { bit: Held.primary, button: Button.primary, down: mouseCases.MouseCaseLeftDown, up: mouseCases.MouseCaseLeftUp },
  { bit: Held.secondary, button: Button.secondary, down: mouseCases.MouseCaseRightDown, up: mouseCases.MouseCaseRightUp },
];

// The cases that the event plays. A pointerdown or pointerup is the press
// or release of its `button`. A button pressed or released while another
// is held comes as a move: a press or release for each button whose bit in
// `buttons` changed since the last event, a plain move when none did, or
// when `button` says none changed (-1: a pen's or a mouse's buttons seen
// first on this move, not pressed on it).
function casesOf(event) {
  const now = heard(event);
  const changed = now ^ before;
  before = now;
  const one = cases.find((c) => c.button === event.button);
  if (event.type === 'pointerdown') return one ? [one.down] : [];
  if (event.type === 'pointerup') return one ? [one.up] : [];
  if (!changed || event.button === Button.none) return [mouseCases.MouseCaseMove];
  return cases.filter((c) => changed & c.bit).map((c) => (now & c.bit ? c.down : c.up));
}

function onPointer(event) {
  // A finger is touch.js's; a pen plays the mouse cases, as its mouse events did.
  if (event.pointerType === 'touch') return;
  const point = clientPoint(event);
  if (!point) return;
  for (const mouseCase of casesOf(event)) game.exports.Mouse(mouseCase, held(event), point.x, point.y);
}

// `surface` holds the board canvas and what lies over it.
export function setUpMouse(surface) {
  for (const type of ['pointerdown', 'pointerup', 'pointermove']) surface.addEventListener(type, onPointer);
  // The mouse may come over the board with buttons held: that is no press.
  surface.addEventListener('pointerover', (event) => {
    if (event.pointerType !== 'touch') before = heard(event);
  });
  // No text selection, no focus moved away, by a press on the board.
  surface.addEventListener('mousedown', (event) => {
    if (!madeByTouch(event)) event.preventDefault();
  });
}
