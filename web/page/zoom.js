// Whole-number zoom without smoothing: the largest scale at which the board
// fits the window, at least 1, unless the player has chosen one.
import { game } from './game.js';

let choice = 'auto';

export function fittingScale(width, height) {
  const menuHeight = 24;
  const margin = 40;
  const across = Math.floor((window.innerWidth - margin) / width);
  const down = Math.floor((window.innerHeight - margin - menuHeight - 40) / height);
  return Math.max(1, Math.min(across, down));
}

export function applyZoom() {
  const { canvas } = game;
  const scale = choice === 'auto' ? fittingScale(canvas.width, canvas.height) : Number(choice);
  game.scale = scale;
  for (const shown of [canvas, document.getElementById('press')]) {
    shown.style.width = `${canvas.width * scale}px`;
    shown.style.height = `${canvas.height * scale}px`;
  }
  document.getElementById('menubar').style.width = `${canvas.width * scale}px`;
}

export function setUpZoom() {
  const select = document.getElementById('zoom-choice');
  select.addEventListener('change', () => {
    choice = select.value;
    applyZoom();
  });
  window.addEventListener('resize', () => {
    if (choice === 'auto') applyZoom();
  });
}
