// The game module in the page: loads the WebAssembly (the exe's core and
// mouse layer), hands it the tile strip, and copies what it drew to the
// board canvas, as the exe's paint copies its back buffer to the window.

export const game = {
  exports: null,
  canvas: null,
  context: null,
  image: null,  // the module's off-screen image, as ImageData over its memory (screenImage)
  scale: 1,
};

async function instantiate(url) {
  try {
    return await WebAssembly.instantiateStreaming(fetch(url));
  } catch (error) {
    // A server that sends the module with another type still serves it.
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${url}: ${response.status}`);
    return WebAssembly.instantiate(await response.arrayBuffer());
  }
}

async function fetchOk(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status}`);
  return response;
}

// The module, the strip and the page's labels and texts, fetched at once.
export async function loadGame() {
  const [module, strip, data] = await Promise.all([
    instantiate('tsweeper.wasm'),
    fetchOk('tiles.bmp').then((r) => r.arrayBuffer()),
    fetchOk('page.json').then((r) => r.json()),
  ]);
  const ex = module.instance.exports;
  if (strip.byteLength > ex.StripFileCapacity()) throw new Error('tiles.bmp: too large');
  new Uint8Array(ex.memory.buffer, ex.StripFileBuffer(), strip.byteLength).set(new Uint8Array(strip));
  if (!ex.LoadStrip(strip.byteLength)) throw new Error('tiles.bmp: not the tile strip');
  game.exports = ex;
  return data;
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

// `listener()` runs after every copy to the canvas: what else shows the
// board follows it there.
export function afterPaint(listener) {
  painted.push(listener);
}

// Copies the rectangle that the module drew since the last copy.
export function paint() {
  const ex = game.exports;
  const [left, top, right, bottom] = new Int32Array(ex.memory.buffer, ex.DirtyRect(), 4);
  if (right > left) game.context.putImageData(screenImage(), 0, 0, left, top, right - left, bottom - top);
  ex.ClearDirty();
  for (const listener of painted) listener();
}

// The canvas takes the board's client-area size and shows the whole image
// again, as the exe's window does after the settings dialog.
export function fitCanvas() {
  const ex = game.exports;
  const { canvas } = game;
  canvas.width = ex.ClientWidth();
  canvas.height = ex.ClientHeight();
  game.context.putImageData(screenImage(), 0, 0, 0, 0, canvas.width, canvas.height);
  ex.ClearDirty();
}

// The client-area pixel under a pointer event, or null off the canvas.
export function clientPoint(event) {
  const { canvas, scale } = game;
  const box = canvas.getBoundingClientRect();
  const x = Math.floor((event.clientX - box.left) / scale);
  const y = Math.floor((event.clientY - box.top) / scale);
  if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return null;
  return { x, y };
}
