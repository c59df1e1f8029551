// The mouse over the board, turned into the exe's five mouse cases: the
// buttons held after the event, mapped by name onto the bits the window
// messages carry, and the client-area pixel. Like the exe, which takes no
// capture, the game hears the mouse only while it is over the board.
import { game, clientPoint, paint } from './game.js';

// What the DOM calls the buttons: the bits of `buttons`, the values of `button`.
const Held = { primary: 1, secondary: 2 };
const Button = { primary: 0, secondary: 2 };

function held(event) {
  const ex = game.exports;
  return (event.buttons & Held.primary ? ex.MouseLeft() : 0) | (event.buttons & Held.secondary ? ex.MouseRight() : 0);
}

// Mouse events that a touch screen makes up after a touch are not a mouse.
function madeByTouch(event) {
  return event.sourceCapabilities ? event.sourceCapabilities.firesTouchEvents : false;
}

function onMouse(event) {
  if (madeByTouch(event)) return;
  // No text selection, no focus moved away, by a press on the board.
  if (event.type === 'mousedown') event.preventDefault();
  const point = clientPoint(event);
  if (!point) return;
  const ex = game.exports;
  const { x, y } = point;
  const buttons = held(event);
  const { type, button } = event;
  if (type === 'mousemove') ex.MouseMove(buttons, x, y);
  else if (type === 'mousedown' && button === Button.primary) ex.LeftButtonDown(buttons, x, y);
  else if (type === 'mousedown' && button === Button.secondary) ex.RightButtonDown(buttons, x, y);
  else if (type === 'mouseup' && button === Button.primary) ex.LeftButtonUp(buttons, x, y);
  else if (type === 'mouseup' && button === Button.secondary) ex.RightButtonUp(buttons, x, y);
  else return;
  paint();
}

// `surface` holds the board canvas and what lies over it.
export function setUpMouse(surface) {
  for (const type of ['mousedown', 'mouseup', 'mousemove']) surface.addEventListener(type, onMouse);
}
