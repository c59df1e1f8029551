// Zoom in whole device pixels, without smoothing: each pixel of the board's
// image covers zoom × zoom pixels of the screen at every devicePixelRatio,
// and the board's top-left corner lies on a screen pixel, so that every
// pixel of the art shows at the same size. Automatic: the largest zoom at
// which the whole board fits the window beside the page's own chrome (with
// the controls below the board or beside it; worked out from what
// surrounds the board, ./room.js, and checked on the real layout), at least
// 1; under a finger (a coarse primary pointer) at least the zoom that
// shows a square a finger can hit, the standard 16 CSS pixels, and a board
// that does not fit at it pans with one finger. The choice 表示倍率 shows the zoom in use and offers every zoom
// that the automatic one may pick on this screen, each named by the size of
// a square against the standard one (16 CSS pixels); it is kept with the
// page's preferences as that size, which the nearest zoom shows again when
// the ratio changes (browser zoom, another monitor).
import { game, pixelRatio, devicePixels, cssPixels, boardLength } from './game.js';
import { preference, savePreference } from './prefs.js';
import { format } from './widgets.js';
import { measureSurroundings, largestZoomBySums } from './room.js';

let choice = 'auto';  // or the size chosen against the standard square
let texts = {};
const changed = [];

// The board at `zoom`, with the grid of its squares over it: a grid left
// at another zoom would stick out of the board, or fall short of it.
function showAt(zoom) {
  const { canvas } = game;
  const width = boardLength(canvas.width, zoom);
  canvas.style.width = width;
  canvas.style.height = boardLength(canvas.height, zoom);
  document.getElementById('menubar').style.minWidth = width;
  document.getElementById('client').style.setProperty('--square', boardLength(game.exports.SquareSize(), zoom));
}

// Whether the page as laid out now fits the window, of the size measured
// (`view.across` x `view.down`), without scrolling.
function fits(view) {
  const page = document.documentElement;
  const desk = document.getElementById('desk');
  return page.scrollWidth <= view.across && page.scrollHeight <= view.down && desk.scrollWidth <= desk.clientWidth;
}

// The least zoom automatic takes: under a finger the least whole zoom that
// shows a square at the standard size or larger, with a mouse or a pen 1.
const finger = window.matchMedia('(pointer: coarse)');
const leastZoom = () => (finger.matches ? Math.max(1, Math.ceil(pixelRatio() - 1e-9)) : 1);

// The most zoom that this screen could give the board, for the choices
// offered; `view` is the window's size as measured.
function mostZoom(auto, view) {
  const { canvas } = game;
  const long = Math.max(screen.width, screen.height, view.across, view.down) * pixelRatio();
  return Math.max(auto, Math.min(Math.floor(long / canvas.width), Math.floor(long / canvas.height)));
}

// A zoom as a player reads it: the size of a square against the standard
// one, with at most two decimals.
const sizeOf = (zoom) => String(Number((zoom / pixelRatio()).toFixed(2)));

// The zoom that shows the size chosen at the ratio of now.
const chosenZoom = () => Math.max(1, Math.round(choice * pixelRatio()));

// Whether 表示倍率 lists every zoom yet: until the first board is shown it
// holds automatic and the zoom chosen alone, which are all it shows, and
// automatic's name is the widest of them all.
let listed = false;

// Setting a select's value lays the page out at once (Chromium): the
// options come selected as they should be, and the value is set only when
// it changes.
function offer(select, auto, most, zoom) {
  const wanted = choice === 'auto' ? 'auto' : String(zoom);
  const option = (text, value) => new Option(text, value, false, value === wanted);
  const sizes = [];
  const size = (n) => option(format(texts.PageZoomSize, sizeOf(n)), String(n));
  if (listed) for (let n = 1; n <= Math.max(most, zoom); n++) sizes.push(size(n));
  else if (choice !== 'auto') sizes.push(size(zoom));
  const have = [...select.options].slice(1);
  const same = have.length === sizes.length && have.every((o, i) => o.value === sizes[i].value && o.text === sizes[i].text);
  if (!same) select.replaceChildren(option('', 'auto'), ...sizes);
  const automatic = format(texts.PageZoomAutomatic, sizeOf(auto));
  if (select.options[0].textContent !== automatic) select.options[0].textContent = automatic;
  if (select.value !== wanted) select.value = wanted;
}

// The board's corner moved onto the screen's pixel grid: the board's
// surface (canvas, grid, cursor) goes up and to the left by what lies
// between the corner and the device pixel before it, less than one. Where
// the corner lies unshifted is where the menu bar's lower left corner lies
// (the surface follows it in the window), which no shift moves: read from
// the layout as it is, and the shift written only when it changes, this
// costs no layout of its own when it runs whenever the layout moves.
const shift = { left: '', top: '' };
function alignBoard() {
  const surface = document.getElementById('client');
  const bar = document.getElementById('menubar').getBoundingClientRect();
  const past = (at) => devicePixels(at) - Math.floor(devicePixels(at));
  const wanted = { left: `${cssPixels(-past(bar.left))}px`, top: `${cssPixels(-past(bar.bottom))}px` };
  for (const side of ['left', 'top']) {
    if (shift[side] === wanted[side]) continue;
    shift[side] = wanted[side];
    surface.style[side] = wanted[side];
  }
}

// The board at `zoom`, and 表示倍率 offering the zooms with `auto` for
// automatic.
function show(auto, zoom, view) {
  game.zoom = zoom;
  showAt(zoom);
  offer(document.getElementById('zoom-choice'), auto, mostZoom(auto, view), zoom);
}

// Automatic: the largest zoom at which the page fits, with the controls
// below the board or, on a wide window, beside it, whichever gives the
// larger zoom (below when both give the same). Each arrangement's zoom is
// worked out from one measurement of the board's surroundings, and the
// larger is checked on the real layout: one that does not fit (the sums
// never fall short) goes down a step. The least zoom needs no check:
// automatic takes it whether it fits or not. 表示倍率 names the zoom shown,
// so the controls measured at another zoom may be wider or narrower than
// at this one: the sums are done again on the layout just checked (no
// layout more), and a zoom they now find larger is tried in its turn. Each
// check raises the zoom known to fit or lowers the most that may: the
// search ends. Where the sums are exact, one layout to measure and one to
// check. The window's size is the one measured: read again after a change,
// it may cost a layout of its own (Chromium, under a phone's viewport).
function automaticZoom(surroundings) {
  const desk = document.getElementById('desk');
  const least = leastZoom();
  const arrangements = [{ beside: false, most: Infinity, fits: least }];
  if (surroundings.across > surroundings.down) arrangements.push({ beside: true, most: Infinity, fits: least });
  const larger = (best, next) => (next.zoom > best.zoom ? next : best);
  let measured = surroundings;
  let shown = null;
  for (;;) {
    for (const arrangement of arrangements) {
      const sums = largestZoomBySums(measured, game.canvas, arrangement.beside, least);
      arrangement.zoom = Math.max(arrangement.fits, Math.min(arrangement.most, sums));
    }
    const best = arrangements.reduce(larger);
    if (shown?.arrangement !== best || shown.zoom !== best.zoom) {
      desk.classList.toggle('beside', best.beside);
      show(best.zoom, best.zoom, surroundings);
      shown = { arrangement: best, zoom: best.zoom };
    }
    if (best.zoom === best.fits) return best.zoom;
    if (fits(surroundings)) {
      best.fits = best.zoom;
      measured = measureSurroundings();
    } else {
      best.most = best.zoom - 1;
    }
  }
}

export function applyZoom() {
  const surroundings = measureSurroundings();
  const auto = automaticZoom(surroundings);
  if (choice !== 'auto') show(auto, chosenZoom(), surroundings);
  alignBoard();
  for (const listener of changed) listener();
}

// 表示倍率 lists every zoom from the next change of zoom on.
export function listEveryZoom() {
  listed = true;
}

// `listener()` runs after every change of zoom.
export function afterZoom(listener) {
  changed.push(listener);
}

// The ratio of device pixels to CSS pixels changes under a loaded page with
// the browser's zoom or on another monitor: each change is heard once, and
// the next one listened for at the new ratio.
function watchRatio() {
  const query = window.matchMedia(`(resolution: ${pixelRatio()}dppx)`);
  query.addEventListener('change', () => {
    watchRatio();
    applyZoom();
  }, { once: true });
}

export function setUpZoom(pageTexts) {
  texts = pageTexts;
  const select = document.getElementById('zoom-choice');
  // 'auto', or the size of a square against the standard one; a whole zoom
  // that the page kept before it counted the ratio (2) is that size too.
  const kept = preference('zoom');
  if (kept === 'auto') choice = kept;
  else if (Number.isFinite(Number(kept)) && Number(kept) > 0) choice = Number(kept);
  select.addEventListener('change', () => {
    choice = select.value === 'auto' ? 'auto' : Number(select.value) / pixelRatio();
    savePreference('zoom', choice);
    applyZoom();
  });
  window.addEventListener('resize', applyZoom);
  watchRatio();
  // Whatever else moves the board moves it off the pixel grid (menus grown
  // taller for a finger, the controls beside it wider): it goes back at once.
  const moved = new ResizeObserver(alignBoard);
  for (const id of ['window', 'controls']) moved.observe(document.getElementById(id));
}
