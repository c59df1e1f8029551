// The board from the keyboard. The grid over the board takes the focus and
// shows a square cursor above the board (never in the board's own image):
// the arrow keys move it, Home and End go to the ends of its row, Ctrl+Home
// and Ctrl+End to the first and the last square, and wherever it goes its
// square is scrolled into view; Space or Enter plays a left click on its
// square (on an opened number: the chord), F a right click. Each goes
// through the mouse cases, at the square's centre.
import { game, boardLength } from './game.js';
import { cellId } from './reader.js';

const cursor = { column: 0, row: 0 };

function centre() {
  const ex = game.exports;
  const half = ex.SquareSize() / 2;
  return [ex.SquareLeft(cursor.column) + half, ex.SquareTop(cursor.row) + half];
}

// Keeps the cursor on the board and shows it where it is.
export function placeCursor() {
  const ex = game.exports;
  cursor.column = Math.min(Math.max(cursor.column, 0), ex.Columns() - 1);
  cursor.row = Math.min(Math.max(cursor.row, 0), ex.Rows() - 1);
  const grid = document.getElementById('grid');
  grid.setAttribute('aria-activedescendant', cellId(cursor.column, cursor.row));
  const look = document.getElementById('cursor');
  look.style.left = boardLength(ex.SquareLeft(cursor.column));
  look.style.top = boardLength(ex.SquareTop(cursor.row));
  look.style.width = look.style.height = boardLength(ex.SquareSize());
}

// The cursor's square scrolled into view, as a focused cell would be: the
// desk across a board wider than the window, the page down.
function showCursor() {
  document.getElementById('cursor').scrollIntoView({ block: 'nearest', inline: 'nearest' });
}

function moveTo(column, row) {
  cursor.column = column;
  cursor.row = row;
  placeCursor();
  showCursor();
}

function onKey(event) {
  if (event.altKey || event.metaKey || event.isComposing) return;
  const ex = game.exports;
  const last = [ex.Columns() - 1, ex.Rows() - 1];
  const { column, row } = cursor;
  const moves = {
    ArrowLeft: [column - 1, row],
    ArrowRight: [column + 1, row],
    ArrowUp: [column, row - 1],
    ArrowDown: [column, row + 1],
    Home: event.ctrlKey ? [0, 0] : [0, row],
    End: event.ctrlKey ? last : [last[0], row],
  };
  if (event.key in moves) {
    moveTo(...moves[event.key]);
  } else if ((event.key === ' ' || event.key === 'Enter') && !event.ctrlKey) {
    if (!event.repeat) ex.ClickSquare(...centre());
  } else if (event.code === 'KeyF' && !event.ctrlKey) {
    if (!event.repeat) ex.FlagSquare(...centre());
  } else {
    return;
  }
  event.preventDefault();
}

export function setUpKeyboard() {
  const grid = document.getElementById('grid');
  const look = document.getElementById('cursor');
  grid.addEventListener('keydown', onKey);
  grid.addEventListener('focus', () => {
    placeCursor();
    look.hidden = false;
    showCursor();
  });
  grid.addEventListener('blur', () => { look.hidden = true; });
  // A screen reader's activation of a cell (a click that no mouse made):
  // the cursor goes there and the square is clicked.
  grid.addEventListener('click', (event) => {
    const cell = event.target.closest('[role=gridcell]');
    if (event.detail !== 0 || !cell) return;
    moveTo(Number(cell.dataset.column), Number(cell.dataset.row));
    game.exports.ClickSquare(...centre());
  });
}
