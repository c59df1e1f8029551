// The page kept for playing offline: a service worker (sw.js, beside
// index.html) that keeps one whole build in a cache named after it. It is
// registered only once the first board is drawn, after the page's load, so
// that its work never delays that board.
export function keepForOffline() {
  if (!('serviceWorker' in navigator)) return;
  const register = () => {
    navigator.serviceWorker.register('sw.js')
      .then((registration) => registration.update())
      .catch(() => {
        // Workers refused (a private window, a blocked site): the page still plays online.
      });
  };
  if (document.readyState === 'complete') setTimeout(register, 0);
  else window.addEventListener('load', register, { once: true });
}
