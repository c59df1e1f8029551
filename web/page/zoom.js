// Zoom in whole device pixels, without smoothing: each pixel of the board's
// image covers zoom × zoom pixels of the screen at every devicePixelRatio,
// and the board's top-left corner lies on a screen pixel, so that every
// pixel of the art shows at the same size. Automatic: the largest zoom at
// which the whole board fits the window beside the page's own chrome (tried
// on the real layout, with the controls below the board or beside it), at
// least 1; under a finger (a coarse primary pointer) at least the zoom that
// shows a square a finger can hit, the standard 16 CSS pixels, and a board
// that does not fit at it pans with one finger. The choice 表示倍率 shows the zoom in use and offers every zoom
// that the automatic one may pick on this screen, each named by the size of
// a square against the standard one (16 CSS pixels); it is kept with the
// page's preferences as that size, which the nearest zoom shows again when
// the ratio changes (browser zoom, another monitor).
import { game, pixelRatio, devicePixels, cssPixels, boardLength } from './game.js';
import { preference, savePreference } from './prefs.js';
import { format } from './widgets.js';

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

// Whether the page as laid out now fits the window, without scrolling.
function fits() {
  const page = document.documentElement;
  const desk = document.getElementById('desk');
  return page.scrollWidth <= window.innerWidth && page.scrollHeight <= window.innerHeight
    && desk.scrollWidth <= desk.clientWidth;
}

// Room that the window's frame and the desk take across, and everything on
// the desk but the board down, as laid out now, in CSS pixels: the first
// guess at the zoom.
function chrome() {
  const canvas = game.canvas.getBoundingClientRect();
  const desk = document.getElementById('desk');
  const style = getComputedStyle(desk);
  const padding = Number.parseFloat(style.paddingLeft) + Number.parseFloat(style.paddingRight);
  const frame = document.getElementById('window').getBoundingClientRect();
  return { across: frame.width - canvas.width + padding, down: desk.getBoundingClientRect().height - canvas.height };
}

// The least zoom automatic takes: under a finger the least whole zoom that
// shows a square at the standard size or larger, with a mouse or a pen 1.
const finger = window.matchMedia('(pointer: coarse)');
const leastZoom = () => (finger.matches ? Math.max(1, Math.ceil(pixelRatio() - 1e-9)) : 1);

// The largest zoom at which the page, laid out for real at that zoom, fits
// the window: guessed from the room the rest takes, then tried. Leaves the
// board at the last zoom tried.
function largestFitting() {
  const { canvas } = game;
  const least = leastZoom();
  showAt(1);
  const room = chrome();
  let zoom = Math.max(least, Math.min(Math.floor(((window.innerWidth - room.across) * pixelRatio()) / canvas.width),
    Math.floor(((window.innerHeight - room.down) * pixelRatio()) / canvas.height)));
  showAt(zoom);
  while (zoom > least && !fits()) showAt(--zoom);
  while (fits()) {
    showAt(zoom + 1);
    if (!fits()) break;
    zoom++;
  }
  return zoom;
}

// The zoom that automatic gives now, with the controls below the window or,
// on a wide window, beside it, whichever gives the larger zoom; and the
// most it could give on this screen, for the choices offered.
function fittingZoom() {
  const { canvas } = game;
  const desk = document.getElementById('desk');
  desk.classList.remove('beside');
  let zoom = largestFitting();
  if (window.innerWidth > window.innerHeight) {
    desk.classList.add('beside');
    const beside = largestFitting();
    if (beside > zoom) zoom = beside;
    else desk.classList.remove('beside');
  }
  const long = Math.max(screen.width, screen.height, window.innerWidth, window.innerHeight) * pixelRatio();
  const most = Math.max(zoom, Math.min(Math.floor(long / canvas.width), Math.floor(long / canvas.height)));
  return { now: zoom, most };
}

// A zoom as a player reads it: the size of a square against the standard
// one, with at most two decimals.
const sizeOf = (zoom) => String(Number((zoom / pixelRatio()).toFixed(2)));

// The zoom that shows the size chosen at the ratio of now.
const chosenZoom = () => Math.max(1, Math.round(choice * pixelRatio()));

function offer(select, auto, most, zoom) {
  const sizes = [];
  for (let n = 1; n <= Math.max(most, zoom); n++) sizes.push(new Option(format(texts.PageZoomSize, sizeOf(n)), String(n)));
  const have = [...select.options].slice(1);
  const same = have.length === sizes.length && have.every((o, i) => o.value === sizes[i].value && o.text === sizes[i].text);
  if (!same) select.replaceChildren(new Option('', 'auto'), ...sizes);
  select.options[0].textContent = format(texts.PageZoomAutomatic, sizeOf(auto));
  select.value = choice === 'auto' ? 'auto' : String(zoom);
}

// The board's corner moved onto the screen's pixel grid: the board's
// surface (canvas, grid, cursor) goes up and to the left by what lies
// between the corner and the device pixel before it, less than one.
function alignBoard() {
  const surface = document.getElementById('client');
  surface.style.left = surface.style.top = '';
  const box = game.canvas.getBoundingClientRect();
  const past = (at) => devicePixels(at) - Math.floor(devicePixels(at));
  surface.style.left = `${cssPixels(-past(box.left))}px`;
  surface.style.top = `${cssPixels(-past(box.top))}px`;
}

export function applyZoom() {
  const select = document.getElementById('zoom-choice');
  const { now, most } = fittingZoom();
  const zoom = choice === 'auto' ? now : chosenZoom();
  game.zoom = zoom;
  showAt(zoom);
  offer(select, now, most, zoom);
  alignBoard();
  for (const listener of changed) listener();
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
