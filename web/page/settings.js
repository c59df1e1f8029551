// The settings as the page keeps them: the text of a settings file in the
// browser's localStorage, under the file's own name. The module reads it
// with the exe's reading and corrections, and a save writes the five values
// into the text as stored then, as the exe's profile function writes them
// into its file: every other line stays.
import { game, putBytes, cString } from './game.js';

// The text this page read at load or wrote at its last save. When the
// stored text is another, another tab has saved since: this page then
// writes only the values it changed, at that save and every later one,
// since from then on the stored text holds values that this page does not.
let lastText = '';
let merging = false;

function storageKey() {
  return cString(game.exports.SettingsKey());
}

// The stored text; '' when there is none or the storage is refused
// (private mode, a blocked site).
function storedText() {
  try {
    const text = window.localStorage.getItem(storageKey());
    return typeof text === 'string' ? text : '';
  } catch (error) {
    return '';
  }
}

// The bytes in the module's memory past its heap base, with `room` bytes
// free after them; null when the memory cannot grow so far.
function hold(bytes, room) {
  const buffer = new Uint8Array(bytes.length + room);
  buffer.set(bytes);
  try {
    return putBytes(buffer);
  } catch (error) {
    return null;
  }
}

// Reads the stored text once, at load; a missing one gives the defaults, as
// does one that the memory cannot hold. Must run before any view of the
// module's memory is made: it may grow it.
export function loadSettings() {
  const text = storedText();
  const bytes = new TextEncoder().encode(text);
  const at = hold(bytes, 0);
  lastText = at === null ? '' : text;
  game.exports.LoadSettingsText(at ?? 0, at === null ? 0 : bytes.length);
}

// Writes the settings into the stored text, or into a fresh one when the
// stored text cannot be read or held. May grow the memory.
export function saveSettings() {
  const ex = game.exports;
  const growth = ex.SettingsTextGrowth();
  let text = storedText();
  let bytes = new TextEncoder().encode(text);
  let at = hold(bytes, bytes.length + growth);
  if (at === null) {
    text = '';
    bytes = bytes.subarray(0, 0);
    at = hold(bytes, growth);
    if (at === null) return;
  }
  // A fresh text takes all five values.
  const onlyChanged = text !== '' && (merging || text !== lastText);
  const out = at + bytes.length;
  const length = ex.SaveSettingsText(at, bytes.length, onlyChanged ? 1 : 0, out, bytes.length + growth);
  if (length < 0) return;
  // A byte-order mark stays in the text, as in a file.
  const written = new TextDecoder('utf-8', { ignoreBOM: true }).decode(new Uint8Array(ex.memory.buffer, out, length));
  try {
    window.localStorage.setItem(storageKey(), written);
    lastText = written;
    merging = onlyChanged;
  } catch (error) {
    // A full or refused storage loses the write, as a read-only disk does.
  }
}

// A settings dialog field's text as the exe reads its fields (for the
// dialog's OK); 0 when the memory cannot hold it, as for a text that is no
// number.
export function readFieldNumber(text) {
  const bytes = new TextEncoder().encode(text);
  const at = hold(bytes, 0);
  return at === null ? 0 : game.exports.ReadFieldNumber(at, bytes.length);
}
