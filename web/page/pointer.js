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

// What the event does: 'move', or 'down' or 'up' of a button. A button
// pressed or released while another is held comes as a move with it.
function change(event) {
  const what = event.type.slice('pointer'.length);
  if (what !== 'move' || event.button === Button.none) return what;
  const bit = event.button === Button.primary ? Held.primary : Held.secondary;
  return event.buttons & bit ? 'down' : 'up';
}

// The mouse layer's case for each change and button, by name.
const { mouseCases } = labels;
const cases = {
  move: { [Button.none]: mouseCases.MouseCaseMove },
  down: { [Button.primary]: mouseCases.MouseCaseLeftDown, [Button.secondary]: mouseCases.MouseCaseRightDown },
  up: { [Button.primary]: mouseCases.MouseCaseLeftUp, [Button.secondary]: mouseCases.MouseCaseRightUp },
};

function onPointer(event) {
  // A finger is touch.js's; a pen plays the mouse cases, as its mouse events did.
  if (event.pointerType === 'touch') return;
  const point = clientPoint(event);
  const mouseCase = cases[change(event)]?.[event.button];
  if (!point || mouseCase === undefined) return;
  game.exports.Mouse(mouseCase, held(event), point.x, point.y);
}

// `surface` holds the board canvas and what lies over it.
export function setUpMouse(surface) {
  for (const type of ['pointerdown', 'pointerup', 'pointermove']) surface.addEventListener(type, onPointer);
  // No text selection, no focus moved away, by a press on the board.
  surface.addEventListener('mousedown', (event) => {
    if (!madeByTouch(event)) event.preventDefault();
  });
}
