// Whole-number zoom without smoothing. Automatic: the largest zoom at which
// the whole board fits the window beside the page's own chrome (tried on
// the real layout, with the controls below the board or beside it), at least 1. The
// choice 表示倍率 shows the zoom in use and offers every zoom that the
// automatic one may pick on this screen; it is kept with the page's
// preferences.
import { game } from './game.js';
import { preference, savePreference } from './prefs.js';
import { format } from './widgets.js';

let choice = 'auto';
let texts = {};
const changed = [];

function showAt(scale) {
  const { canvas } = game;
  canvas.style.width = `${canvas.width * scale}px`;
  canvas.style.height = `${canvas.height * scale}px`;
  document.getElementById('menubar').style.minWidth = `${canvas.width * scale}px`;
}

// Whether the page as laid out now fits the window, without scrolling.
function fits() {
  const page = document.documentElement;
  const desk = document.getElementById('desk');
  return page.scrollWidth <= window.innerWidth && page.scrollHeight <= window.innerHeight
    && desk.scrollWidth <= desk.clientWidth;
}

// Room that the window's frame and the desk take across, and everything on
// the desk but the board down, as laid out now: the first guess at the zoom.
function chrome() {
  const canvas = game.canvas.getBoundingClientRect();
  const desk = document.getElementById('desk');
  const style = getComputedStyle(desk);
  const padding = Number.parseFloat(style.paddingLeft) + Number.parseFloat(style.paddingRight);
  const frame = document.getElementById('window').getBoundingClientRect();
  return { across: frame.width - canvas.width + padding, down: desk.getBoundingClientRect().height - canvas.height };
}

// The largest zoom at which the page, laid out for real at that zoom, fits
// the window: guessed from the room the rest takes, then tried. Leaves the
// board at the last zoom tried.
function largestFitting() {
  const { canvas } = game;
  showAt(1);
  const room = chrome();
  let scale = Math.max(1, Math.min(Math.floor((window.innerWidth - room.across) / canvas.width),
    Math.floor((window.innerHeight - room.down) / canvas.height)));
  showAt(scale);
  while (scale > 1 && !fits()) showAt(--scale);
  while (fits()) {
    showAt(scale + 1);
    if (!fits()) break;
    scale++;
  }
  return scale;
}

// The zoom that automatic gives now, with the controls below the window or,
// on a wide window, beside it, whichever gives the larger zoom; and the
// most it could give on this screen, for the choices offered.
function fittingScale() {
  const { canvas } = game;
  const desk = document.getElementById('desk');
  desk.classList.remove('beside');
  let scale = largestFitting();
  if (window.innerWidth > window.innerHeight) {
    desk.classList.add('beside');
    const beside = largestFitting();
    if (beside > scale) scale = beside;
    else desk.classList.remove('beside');
  }
  const long = Math.max(screen.width, screen.height, window.innerWidth, window.innerHeight);
  const most = Math.max(scale, Math.min(Math.floor(long / canvas.width), Math.floor(long / canvas.height)));
  return { now: scale, most };
}

function offer(select, auto, most) {
  const wanted = ['auto'];
  for (let scale = 1; scale <= Math.max(most, Number(choice) || 1); scale++) wanted.push(String(scale));
  const have = [...select.options].map((option) => option.value);
  if (have.join() !== wanted.join()) {
    select.replaceChildren(...wanted.map((value) => new Option(value === 'auto' ? '' : `×${value}`, value)));
  }
  select.options[0].textContent = format(texts.PageZoomAutomatic, auto);
  select.value = choice;
}

export function applyZoom() {
  const select = document.getElementById('zoom-choice');
  const { now, most } = fittingScale();
  const scale = choice === 'auto' ? now : Number(choice);
  game.scale = scale;
  document.getElementById('client').style.setProperty('--square', `${game.exports.SquareSize() * scale}px`);
  showAt(scale);
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
