// Whole-number zoom without smoothing. Automatic: the largest zoom at which
// the whole board fits the window beside the page's own chrome (measured,
// in whatever layout and orientation the page has now), at least 1. The
// choice 表示倍率 shows the zoom in use and offers every zoom that the
// automatic one may pick on this screen; it is kept with the page's
// preferences.
import { game } from './game.js';
import { preference, savePreference } from './prefs.js';
import { format } from './widgets.js';

let choice = 'auto';
let texts = {};
const changed = [];

function pixels(value) {
  return Number.parseFloat(value) || 0;
}

// Room that everything but the board takes, across and down, as laid out now.
function chrome() {
  const desk = document.getElementById('desk');
  const frame = document.getElementById('window');
  const canvas = game.canvas.getBoundingClientRect();
  const deskStyle = getComputedStyle(desk);
  const frameStyle = getComputedStyle(frame);
  const across = pixels(deskStyle.paddingLeft) + pixels(deskStyle.paddingRight)
    + pixels(frameStyle.borderLeftWidth) + pixels(frameStyle.borderRightWidth)
    + pixels(frameStyle.paddingLeft) + pixels(frameStyle.paddingRight);
  const down = desk.getBoundingClientRect().height - canvas.height;
  return { across, down };
}

function fitting(width, height, room) {
  const { canvas } = game;
  const across = Math.floor((width - room.across) / canvas.width);
  const down = Math.floor((height - room.down) / canvas.height);
  return Math.max(1, Math.min(across, down));
}

// The zoom that automatic gives now, and the largest it could give on this
// screen in either orientation.
export function fittingScale() {
  const room = chrome();
  const now = fitting(window.innerWidth, window.innerHeight, room);
  const wide = Math.max(screen.width, screen.height, window.innerWidth);
  const high = Math.max(Math.min(screen.width, screen.height), window.innerHeight);
  const most = Math.max(now, fitting(wide, high, room), fitting(high, wide, room));
  return { now, most };
}

function offer(select, auto, most) {
  const wanted = ['auto'];
  for (let scale = 1; scale <= Math.max(most, Number(choice) || 1); scale++) wanted.push(String(scale));
  const have = [...select.options].map((option) => option.value);
  if (have.join() !== wanted.join()) {
    select.replaceChildren(...wanted.map((value) => new Option(value === 'auto' ? '' : `×${value}`, value)));
  }
  select.options[0].textContent = format(texts.ZoomAutomatic, auto);
  select.value = choice;
}

export function applyZoom() {
  const { canvas } = game;
  const select = document.getElementById('zoom-choice');
  const { now, most } = fittingScale();
  const scale = choice === 'auto' ? now : Number(choice);
  game.scale = scale;
  const client = document.getElementById('client');
  client.style.setProperty('--square', `${game.exports.SquareSize() * scale}px`);
  canvas.style.width = `${canvas.width * scale}px`;
  canvas.style.height = `${canvas.height * scale}px`;
  document.getElementById('menubar').style.minWidth = `${canvas.width * scale}px`;
  offer(select, now, most);
  for (const listener of changed) listener();
}

// `listener()` runs after every change of zoom.
export function afterZoom(listener) {
  changed.push(listener);
}

export function setUpZoom(pageTexts) {
  texts = pageTexts;
  const select = document.getElementById('zoom-choice');
  const kept = preference('zoom');
  if (kept === 'auto' || (Number.isInteger(Number(kept)) && Number(kept) >= 1)) choice = String(kept);
  select.addEventListener('change', () => {
    choice = select.value;
    savePreference('zoom', choice);
    applyZoom();
  });
  window.addEventListener('resize', applyZoom);
}
