// The page's first script, in its head (index.html), before the module:
// Until the first board is drawn, a failure shows the failure notice in the
// window's place: the file that could not be loaded, or the error while
// starting, and a button that loads the page again.
(() => {
  const fail = (error) => {
    const root = document.documentElement;
    if (root.dataset.state) return;
    root.dataset.state = 'failed';
    const show = () => {
      const notice = document.getElementById('failed');
      const file = error && error.file;
      const format = notice.dataset[file ? 'file' : 'start'];
      notice.querySelector('p').textContent = format.replace('%s', file || (error && error.message) || error);
      document.getElementById('window').hidden = true;
      document.getElementById('controls').hidden = true;
      notice.hidden = false;
      document.getElementById('reload').onclick = () => window.location.reload();
    };
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', show);
    else show();
  };
  window.addEventListener('error', (event) => {
    const { target } = event;
    if (target instanceof HTMLScriptElement) fail({ file: target.src.split('/').pop() });
    else if (target === window) fail(event.error || event.message);
  }, true);
  window.addEventListener('unhandledrejection', (event) => fail(event.reason));
})();
