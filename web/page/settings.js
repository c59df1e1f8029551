// The settings as the page keeps them: the text of a settings file in the
// browser's localStorage, under the file's own name. The module reads it
// with the exe's reading and corrections, and writes it back whole.
import { game, putBytes, cString } from './game.js';

function storageKey() {
  return cString(game.exports.SettingsKey());
}

// Reads the stored text once, at load; a missing one gives the defaults.
// Must run before any view of the module's memory is made: it may grow it.
export function loadSettings() {
  let text = null;
  try {
    text = window.localStorage.getItem(storageKey());
  } catch (error) {
    text = null;  // storage refused (private mode, a blocked site): defaults
  }
  const bytes = new TextEncoder().encode(typeof text === 'string' ? text : '');
  game.exports.LoadSettingsText(putBytes(bytes), bytes.length);
}

export function saveSettings() {
  const ex = game.exports;
  const length = ex.SaveSettingsText();
  const bytes = new Uint8Array(ex.memory.buffer, ex.SettingsOut(), length);
  try {
    window.localStorage.setItem(storageKey(), String.fromCharCode(...bytes));
  } catch (error) {
    // A full or refused storage loses the write, as a read-only disk does.
  }
}
