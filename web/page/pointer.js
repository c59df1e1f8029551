// Mouse and touch over the board canvas, turned into the exe's five mouse
// cases: the buttons held after the event (1 left, 2 right, the bits of
// MK_LBUTTON and MK_RBUTTON) and the client-area pixel. Like the exe, which
// takes no capture, the game hears the mouse only while it is over the board.
import { game, clientPoint, paint } from './game.js';

const Left = 1;
const Right = 2;
const LongPress = 400;  // ms of a touch held still that make a flag

function held(event) {
  return event.buttons & (Left | Right);
}

// Mouse events that a touch screen makes up after a touch are not a mouse.
function madeByTouch(event) {
  return event.sourceCapabilities ? event.sourceCapabilities.firesTouchEvents : false;
}

function onMouse(event) {
  if (madeByTouch(event)) return;
  if (event.type === 'mousedown') event.preventDefault();
  const point = clientPoint(event);
  if (!point) return;
  const ex = game.exports;
  const { x, y } = point;
  const buttons = held(event);
  if (event.type === 'mousemove') ex.MouseMove(buttons, x, y);
  else if (event.type === 'mousedown' && event.button === 0) ex.LeftButtonDown(buttons, x, y);
  else if (event.type === 'mousedown' && event.button === 2) ex.RightButtonDown(buttons, x, y);
  else if (event.type === 'mouseup' && event.button === 0) ex.LeftButtonUp(buttons, x, y);
  else if (event.type === 'mouseup' && event.button === 2) ex.RightButtonUp(buttons, x, y);
  else return;
  paint();
}

// Touch: a tap opens, a long press flags, a tap on an opened square chords.
// Each is played as the mouse would: the pointer comes to the square, then
// the presses and releases a mouse player makes for the same thing.
const SquareOpened = 1;
const SquareCovered = 2;
let touch = null;  // { id, x, y, square, state, timer }
let pressedTile = null;

const PressedTile = 3;  // the exe's pressed look of a covered square

function squareOf(point) {
  const size = game.exports.SquareSize();
  return `${Math.floor(point.x / size)},${Math.floor(point.y / size)}`;
}

function showPressed(point, state) {
  const press = document.getElementById('press');
  press.width = game.canvas.width;
  press.height = game.canvas.height;
  const ex = game.exports;
  const size = ex.SquareSize();
  if (!pressedTile) {
    const pixels = new Uint8ClampedArray(ex.memory.buffer, ex.TilePixels(PressedTile), size * size * 4);
    pressedTile = new ImageData(new Uint8ClampedArray(pixels), size, size);
  }
  const context = press.getContext('2d');
  const left = point.x - (point.x % size);
  const top = point.y - (point.y % size);
  const squares = [];
  if (state === SquareOpened) {
    for (const dy of [-size, 0, size]) {
      for (const dx of [-size, 0, size]) {
        const x = left + dx;
        const y = top + dy;
        if ((dx || dy) && x >= 0 && y >= 0 && ex.SquareState(x, y) === SquareCovered) squares.push([x, y]);
      }
    }
  } else {
    squares.push([left, top]);
  }
  for (const [x, y] of squares) context.putImageData(pressedTile, x, y);
}

function endTouch() {
  if (!touch) return;
  clearTimeout(touch.timer);
  const press = document.getElementById('press');
  press.getContext('2d').clearRect(0, 0, press.width, press.height);
  touch = null;
}

function play(steps) {
  const ex = game.exports;
  const { x, y } = touch;
  ex.MouseMove(0, x, y);
  for (const [call, buttons] of steps) ex[call](buttons, x, y);
  paint();
}

function onTouchDown(event) {
  if (event.pointerType !== 'touch') return;
  event.preventDefault();
  endTouch();
  const point = clientPoint(event);
  if (!point) return;
  const state = game.exports.SquareState(point.x, point.y);
  if (state < 0) return;  // no game running: a mouse would do nothing either
  touch = { id: event.pointerId, ...point, square: squareOf(point), state, timer: 0 };
  showPressed(point, state);
  touch.timer = setTimeout(() => {
    play([['RightButtonDown', Right], ['RightButtonUp', 0]]);
    endTouch();
  }, LongPress);
}

function onTouchMove(event) {
  if (!touch || event.pointerId !== touch.id) return;
  const point = clientPoint(event);
  if (!point || squareOf(point) !== touch.square) endTouch();
}

function onTouchUp(event) {
  if (!touch || event.pointerId !== touch.id) return;
  if (touch.state === SquareOpened) {
    play([['LeftButtonDown', Left], ['RightButtonDown', Left | Right], ['LeftButtonUp', Right], ['RightButtonUp', 0]]);
  } else {
    play([['LeftButtonDown', Left], ['LeftButtonUp', 0]]);
  }
  endTouch();
}

export function setUpPointer(canvas) {
  for (const type of ['mousedown', 'mouseup', 'mousemove']) canvas.addEventListener(type, onMouse);
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  canvas.addEventListener('pointerdown', onTouchDown);
  canvas.addEventListener('pointermove', onTouchMove);
  canvas.addEventListener('pointerup', onTouchUp);
  canvas.addEventListener('pointercancel', (event) => {
    if (touch && event.pointerId === touch.id) endTouch();
  });
}
