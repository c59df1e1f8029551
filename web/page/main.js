// The page's start, in the exe's order: the settings are read, the window
// (here the canvas) is sized for the board and starts black, the first game
// is laid out and drawn. Then the menu commands, and the settings written
// when the game ends and whenever the page is hidden or left.
import { game, loadGame, attachCanvas, fitCanvas, paint } from './game.js';
import { setUpMenu } from './menu.js';
import { setUpPointer } from './pointer.js';
import { messageBox, settingsDialog } from './boxes.js';
import { loadSettings, saveSettings } from './settings.js';
import { applyZoom, setUpZoom } from './zoom.js';
import { keepForOffline } from './offline.js';

let ended = false;

function endGame() {
  saveSettings();
  ended = true;
  document.getElementById('window').hidden = true;
  document.getElementById('zoom').hidden = true;
  document.getElementById('ended').hidden = false;
  document.getElementById('restart').focus();
}

async function start() {
  // A failure until the first board rejects start(): index.html shows its notice.
  const data = await loadGame();
  const ex = game.exports;
  const { ids, texts } = data;
  loadSettings();
  const canvas = document.getElementById('board');
  attachCanvas(canvas);
  fitCanvas();

  const commands = {
    [ids.IDM_NEWGAME]: () => {
      ex.NewGame();
      paint();
    },
    [ids.IDM_SETTINGS]: async () => {
      if (!(await settingsDialog(data))) return;
      fitCanvas();
      applyZoom();
      ex.NewGame();
      paint();
    },
    [ids.IDM_EXIT]: endGame,
    [ids.IDM_ABOUT]: () => messageBox(texts.VersionText, texts.VersionCaption),
  };
  // After 終了 the game is over for this page: only a new start brings it back.
  setUpMenu(document.getElementById('menubar'), data.menu, (id) => {
    if (!ended && commands[id]) commands[id]();
  });
  setUpPointer(canvas);
  setUpZoom();
  document.getElementById('restart').addEventListener('click', () => window.location.reload());
  window.addEventListener('pagehide', saveSettings);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden' && !ended) saveSettings();
  });

  document.getElementById('window').hidden = false;
  document.getElementById('zoom').hidden = false;
  applyZoom();
  ex.NewGame();
  paint();
  window.tsweeperReadyAt = performance.now();
  document.documentElement.dataset.state = 'ready';
  keepForOffline();
}

start();
