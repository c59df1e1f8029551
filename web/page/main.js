// The page's start, in the exe's order: the settings are read, the window
// (here the canvas) is sized for the board and starts black, the first game
// is laid out and drawn. Then the menu commands, and the settings written
// when the game ends and whenever the page is hidden or left, never after
// the game has ended.
// The page runs the bundle of these modules as a classic script: strict, as
// a module is.
'use strict';

import { game, loadGame, attachCanvas, fitCanvas } from './game.js';
import { setUpMenu } from './menu.js';
import { setUpMouse } from './pointer.js';
import { setUpTouch } from './touch.js';
import { setUpKeyboard, placeCursor } from './keyboard.js';
import { setUpReader, buildGrid } from './reader.js';
import { messageBox, settingsDialog, setUpBoxes } from './boxes.js';
import { loadSettings, saveSettings } from './settings.js';
import { applyZoom, afterZoom, setUpZoom, listEveryZoom } from './zoom.js';
import { keepForOffline } from './offline.js';
import { afterFirstFrame } from './later.js';

let ended = false;

function save() {
  if (!ended) saveSettings();
}

function endGame() {
  save();
  ended = true;
  document.getElementById('window').hidden = true;
  document.getElementById('controls').hidden = true;
  document.getElementById('ended').hidden = false;
  document.getElementById('restart').focus();
}

// A board of a new size: the canvas, the grid over it and the zoom follow.
function fitBoard() {
  fitCanvas();
  buildGrid();
  applyZoom();
}

async function start() {
  // A failure until the first board rejects start(): index.html shows its notice.
  const data = await loadGame();
  const ex = game.exports;
  const { ids, texts } = data;
  loadSettings();
  attachCanvas(document.getElementById('board'));
  setUpZoom(texts);

  const commands = {
    [ids.IDM_NEWGAME]: () => {
      ex.NewGame();
    },
    [ids.IDM_SETTINGS]: async () => {
      if (!(await settingsDialog(data))) return;
      fitBoard();
      ex.NewGame();
    },
    [ids.IDM_EXIT]: endGame,
    [ids.IDM_ABOUT]: () => messageBox(texts.VersionText, texts.VersionCaption),
  };
  const surface = document.getElementById('client');
  setUpMouse(surface);
  // No browser menu over the page, from a right click or a long press,
  // but in the dialog's fields.
  document.addEventListener('contextmenu', (event) => {
    if (!(event.target instanceof HTMLInputElement)) event.preventDefault();
  });
  document.getElementById('restart').addEventListener('click', () => window.location.reload());
  window.addEventListener('pagehide', save);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') save();
  });

  // The first board is drawn first; the page is then laid out around it
  // (the zoom checked on the real layout), all before the first frame; the
  // rest after it. The menu bar's titles and 表示倍率's list of zooms come
  // in the next frame: the zoom is found again with them, since titles
  // wider than a small board widen the window.
  document.getElementById('window').hidden = false;
  document.getElementById('controls').hidden = false;
  fitCanvas();
  ex.NewGame();
  window.tsweeperReadyAt = performance.now();
  applyZoom();
  afterFirstFrame(() => {
    // After 終了 the game is over for this page: only a new start brings it back.
    setUpMenu(document.getElementById('menubar'), data.menu, (id) => {
      if (!ended && commands[id]) commands[id]();
    });
    afterZoom(placeCursor);
    listEveryZoom();
    applyZoom();
    setUpBoxes(texts);
    setUpReader(data);
    buildGrid();
    setUpTouch(surface);
    setUpKeyboard();
    document.documentElement.dataset.state = 'ready';
    keepForOffline();
  });
}

start();
