// The game module in the page: starts the WebAssembly (the exe's core and
// mouse layer, with the tile strip), and copies what it drew to the board
// canvas whenever it presents a change, as the exe's paint copies its back
// buffer to the window.
// The labels and texts, handed over by the build (web/CMakeLists.txt, from
// tools/make_page_labels.py).
import labels from 'page-labels';

export const game = {
  exports: null,
  canvas: null,
  context: null,
  image: null,  // the module's off-screen image, as ImageData over its memory (screenImage)
  zoom: 1,      // device pixels across a pixel of the board's image, a whole number
};

// A part of the game that could not be loaded: the page's failure notice
// names its file.
export class LoadError extends Error {
  constructor(file, cause) {
    super(`${file}: ${cause}`);
    this.file = file;
  }
}

// The browser's own decoding where it has one; else two hexadecimal digits
// a byte, read from their character codes.
function hexBytes(text) {
  if (Uint8Array.fromHex) return Uint8Array.fromHex(text);
  const digit = (code) => (code > 57 ? (code | 32) - 87 : code - 48);
  const bytes = new Uint8Array(text.length >> 1);
  for (let i = 0; i < bytes.length; i++) {
    bytes[i] = (digit(text.charCodeAt(2 * i)) << 4) | digit(text.charCodeAt(2 * i + 1));
  }
  return bytes;
}

// The module (tsweeper.wasm, the tile strip inside it) and the page's labels
// and texts travel inside the page itself: nothing is fetched before the
// first board. The module is hexadecimal text in a block of data of its own
// (index.html), not a string of the script, which the script's parse and
// compilation would go through; as hexadecimal it is larger than as base64
// but smaller as a host sends it, compressed. It is small enough to be compiled at once.
export async function loadGame() {
  let instance;
  try {
    const moduleBytes = hexBytes(document.getElementById('module-hex').textContent);
    try {
      instance = new WebAssembly.Instance(new WebAssembly.Module(moduleBytes), imports);
    } catch (error) {
      // A browser that compiles only small modules at once compiles it in the background.
      if (!(error instanceof RangeError)) throw error;
      instance = (await WebAssembly.instantiate(moduleBytes, imports)).instance;
    }
  } catch (error) {
    throw new LoadError('tsweeper.wasm', error);
  }
  const ex = instance.exports;
  if (!ex.LoadStrip()) throw new LoadError('tiles.bmp', 'not the tile strip');
  game.exports = ex;
  return labels;
}

// The bytes of a string held in the module's memory past its heap base;
// the memory grows to hold them. Views made before must be made again.
export function putBytes(bytes) {
  const ex = game.exports;
  const base = ex.__heap_base.value;
  const missing = base + bytes.length - ex.memory.buffer.byteLength;
  if (missing > 0) ex.memory.grow(Math.ceil(missing / 65536));
  new Uint8Array(ex.memory.buffer, base, bytes.length).set(bytes);
  return base;
}

export function cString(pointer) {
  const bytes = new Uint8Array(game.exports.memory.buffer, pointer);
  return String.fromCharCode(...bytes.subarray(0, bytes.indexOf(0)));
}

export function attachCanvas(canvas) {
  game.canvas = canvas;
  game.context = canvas.getContext('2d', { alpha: false });
}

// The module's off-screen image, made again when the memory has grown (a
// grown memory leaves the views made before it empty).
function screenImage() {
  const ex = game.exports;
  if (!game.image || game.image.data.buffer !== ex.memory.buffer) {
    const width = ex.ScreenWidth();
    const height = ex.ScreenHeight();
    const pixels = new Uint8ClampedArray(ex.memory.buffer, ex.ScreenPixels(), width * height * 4);
    game.image = new ImageData(pixels, width, height);
  }
  return game.image;
}

const painted = [];

// `listener(rect)` runs after every copy to the canvas, with the client
// rectangle copied ([left, top, right, bottom], empty when right <= left),
// while the module's changed squares can still be read (changedSquares):
// what else shows the board follows it there.
export function afterPaint(listener) {
  painted.push(listener);
}

// The module's `present`: every export that changed the picture ends by
// handing over the rectangle it drew, which is copied to the canvas.
function present(left, top, right, bottom) {
  if (!game.context) return;
  if (right > left) game.context.putImageData(screenImage(), 0, 0, left, top, right - left, bottom - top);
  for (const listener of painted) listener([left, top, right, bottom]);
}
const imports = { env: { present } };

// The squares drawn since the last presentation, as [column, row] pairs.
export function changedSquares() {
  const ex = game.exports;
  const pairs = new Int16Array(ex.memory.buffer, ex.ChangedSquares(), 2 * ex.ChangedSquareCount());
  const squares = [];
  for (let i = 0; i < pairs.length; i += 2) squares.push([pairs[i], pairs[i + 1]]);
  return squares;
}

// The canvas takes the board's client-area size and shows the whole image
// again, as the exe's window does after the settings dialog.
export function fitCanvas() {
  const ex = game.exports;
  const { canvas } = game;
  canvas.width = ex.ClientWidth();
  canvas.height = ex.ClientHeight();
  game.context.putImageData(screenImage(), 0, 0, 0, 0, canvas.width, canvas.height);
  ex.ForgetChanges();
}

// Device pixels across a CSS pixel: the screen's scale and the browser's zoom.
export const pixelRatio = () => window.devicePixelRatio || 1;

// A CSS position in device pixels, to the 64th of one that layout keeps.
export const devicePixels = (css) => Math.round(css * pixelRatio() * 64) / 64;

// A length of whole device pixels in CSS pixels. Layout keeps lengths in
// 64ths of a device pixel and drops what lies beyond, toward zero: a 256th
// further from zero keeps the division by the ratio from falling a 64th
// short.
export function cssPixels(devicePixelCount) {
  return (devicePixelCount + Math.sign(devicePixelCount) / 256) / pixelRatio();
}

// A CSS length of `pixels` pixels of the board's image at `zoom`, or at
// the zoom shown.
export const boardLength = (pixels, zoom = game.zoom) => `${cssPixels(pixels * zoom)}px`;

// The client-area pixel under a pointer event, or null off the canvas:
// counted in device pixels from the board's corner, which lies on one.
export function clientPoint(event) {
  const { canvas, zoom } = game;
  const box = canvas.getBoundingClientRect();
  const x = Math.floor((devicePixels(event.clientX) - Math.round(devicePixels(box.left))) / zoom);
  const y = Math.floor((devicePixels(event.clientY) - Math.round(devicePixels(box.top))) / zoom);
  if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return null;
  return { x, y };
}
