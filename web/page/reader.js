// The board for a screen reader: a grid of rows × columns cells over the
// canvas, each named by its column, its row and what it shows, kept in step
// with the tiles that the game draws; and a polite live region that says
// the counter after it changes and, at the end, that the game is lost or won.
import { game, afterPaint, changedSquares } from './game.js';
import { element, format } from './widgets.js';

let texts = {};
let readerTexts = [];  // the reader's texts by the module's numbers for them
let cells = [];       // cells[row][column]: { element, tile }
let counterSaid = null;
let phaseSaid = null;

export function cellId(column, row) {
  return `square-${column}-${row}`;
}

// What a tile shows, in words: the module's rule, which the exe's reader
// follows too.
function shows(tile) {
  const ex = game.exports;
  return format(readerTexts[ex.TileWords(tile)], ex.TileWordsCount(tile));
}

function say(text) {
  document.getElementById('status').textContent = text;
}

const NamedAtOnce = 100;  // more renamed cells than this wait for the next task
let waiting = null;      // cells whose names wait: [cell, column, row, tile]

function rename(list) {
  for (const [cell, c, r, tile] of list) {
    cell.element.setAttribute('aria-label', format(texts.ReaderSquareName, c + 1, r + 1, shows(tile)));
  }
}

// Names again the cells of `squares` ([column, row] pairs) whose tile
// changed. Renaming a cell costs the page about ten microseconds: a flood's
// hundreds of names come a task later, so that its release is not held up.
function name(squares) {
  const ex = game.exports;
  const changed = [];
  for (const [c, r] of squares) {
    const cell = cells[r]?.[c];
    if (!cell) continue;
    const tile = ex.ShownTile(c, r);
    if (tile === cell.tile) continue;
    cell.tile = tile;
    changed.push([cell, c, r, tile]);
  }
  if (waiting) {
    waiting.push(...changed);
  } else if (changed.length > NamedAtOnce) {
    waiting = changed;
    setTimeout(() => {
      const list = waiting;
      waiting = null;
      if (list) rename(list);
    });
  } else {
    rename(changed);
  }
}

// After each change the game presents: the squares it drew, then the
// counter and the end of a game.
function follow() {
  name(changedSquares());
  announce();
}

// Says the counter after it changed, and the end of a game once.
function announce() {
  const ex = game.exports;
  const counter = ex.MineCounter();
  const phase = ex.GamePhase();
  const over = 2;
  if (phase === over && phaseSaid !== over) {
    say(readerTexts[ex.GameEnding()]);
  } else if (counter !== counterSaid || (phaseSaid === over && phase !== over)) {
    say(format(texts.ReaderCounterStatus, counter));
  }
  counterSaid = counter;
  phaseSaid = phase;
}

// Makes the grid again for the board's size, every cell named.
export function buildGrid() {
  const ex = game.exports;
  const grid = document.getElementById('grid');
  const columns = ex.Columns();
  const rows = ex.Rows();
  grid.replaceChildren();
  cells = [];
  waiting = null;
  for (let r = 0; r < rows; r++) {
    const row = element('div', 'row');
    row.setAttribute('role', 'row');
    cells.push([]);
    for (let c = 0; c < columns; c++) {
      const cell = element('div', 'cell');
      cell.setAttribute('role', 'gridcell');
      cell.id = cellId(c, r);
      cell.dataset.column = c;
      cell.dataset.row = r;
      row.append(cell);
      cells[r].push({ element: cell, tile: null });
    }
    grid.append(row);
  }
  grid.setAttribute('aria-label', format(texts.ReaderBoardName, columns, rows));
  grid.style.setProperty('--columns', columns);
  grid.style.setProperty('--rows', rows);
  name(cells.flatMap((row, r) => row.map((cell, c) => [c, r])));
}

export function setUpReader(data) {
  texts = data.texts;
  readerTexts = data.readerTexts;
  document.getElementById('board-keys').textContent = texts.ReaderBoardKeys;
  afterPaint(follow);
  announce();
}
