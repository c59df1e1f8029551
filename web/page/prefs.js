// The page's own preferences (the zoom chosen, 旗モード), kept apart from the
// settings text, whose format is the exe's settings file.
const Key = 'tsweeper.page';

let values = null;

function load() {
  if (values) return values;
  values = {};
  try {
    const stored = JSON.parse(window.localStorage.getItem(Key));
    if (stored && typeof stored === 'object' && !Array.isArray(stored)) values = stored;
  } catch (error) {
    // Refused or damaged storage: the page's defaults.
  }
  return values;
}

export function preference(name) {
  return load()[name];
}

export function savePreference(name, value) {
  load()[name] = value;
  try {
    window.localStorage.setItem(Key, JSON.stringify(values));
  } catch (error) {
    // A full or refused storage keeps the preference for this visit only.
  }
}
