// Touch on the board. A finger that comes down on a square presses it, with
// the mouse's own pressed look (the mouse layer draws it); lifted again it
// plays a click, or a flag when it was held long enough (旗モード swaps the
// two); on an opened number it chords either way. A finger that moves more
// than a few pixels is a pan: the browser scrolls the page, and the press
// ends with nothing played. Each is played as the mouse cases a mouse
// player makes for the same thing.
import { game, clientPoint, boardLength } from './game.js';
import { savePreference, preference } from './prefs.js';

const LongPress = 400;   // ms a finger held still is a long press
const PanDistance = 8;   // CSS pixels a finger may move and still press

let touch = null;  // { id, startX, startY, chord, long, timer }
let flagMode = false;

function hold(show) {
  const look = document.getElementById('hold');
  if (!show) {
    look.hidden = true;
    return;
  }
  // The held square, outlined above the board: the hold is long enough.
  const size = game.exports.SquareSize();
  const { x, y } = touch.point;
  look.style.left = boardLength(Math.floor(x / size) * size);
  look.style.top = boardLength(Math.floor(y / size) * size);
  look.style.width = look.style.height = boardLength(size);
  look.hidden = false;
}

function end() {
  clearTimeout(touch.timer);
  hold(false);
  touch = null;
}

function cancel() {
  if (!touch) return;
  game.exports.CancelPress();
  end();
}

function onDown(event) {
  if (event.pointerType !== 'touch') return;
  // A second finger makes a pinch or a two-finger pan, not a press.
  if (touch) {
    cancel();
    return;
  }
  const point = clientPoint(event);
  if (!point) return;
  const ex = game.exports;
  const held = ex.PressSquare(point.x, point.y);
  if (!held) return;  // no game running: a mouse would do nothing either
  touch = {
    id: event.pointerId, startX: event.clientX, startY: event.clientY, point,
    chord: (held & ex.MouseRight()) !== 0, long: false, timer: 0,
  };
  touch.timer = setTimeout(() => {
    touch.long = true;
    hold(true);
    if (navigator.vibrate) navigator.vibrate(15);
  }, LongPress);
}

function onMove(event) {
  if (!touch || event.pointerId !== touch.id) return;
  if (Math.hypot(event.clientX - touch.startX, event.clientY - touch.startY) > PanDistance) cancel();
}

function onUp(event) {
  if (!touch || event.pointerId !== touch.id) return;
  const ex = game.exports;
  const flags = touch.long !== flagMode;
  if (flags && !touch.chord) ex.ReleaseAsFlag();
  else ex.ReleaseAsClick();
  end();
}

function showFlagMode(on) {
  flagMode = on;
  document.getElementById('flag-mode').checked = on;
}

// `surface` holds the board canvas and what lies over it.
export function setUpTouch(surface) {
  surface.addEventListener('pointerdown', onDown);
  surface.addEventListener('pointermove', onMove);
  surface.addEventListener('pointerup', onUp);
  surface.addEventListener('pointercancel', (event) => {
    if (touch && event.pointerId === touch.id) cancel();
  });
  const flagSwitch = document.getElementById('flag-mode');
  flagSwitch.addEventListener('change', () => {
    showFlagMode(flagSwitch.checked);
    savePreference('flagMode', flagMode);
  });
  showFlagMode(preference('flagMode') === true);
}
