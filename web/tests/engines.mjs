// The browser engines besides Chromium, each under its own driver, behind
// the part of a Playwright page that the shared test bodies use: goto,
// reload, close, evaluate, waitForFunction, $$eval, click, fill, focus,
// textContent, getAttribute, mouse (move, down, up, click), keyboard
// (press with "Control+End" and the like, type) and screenshot in device
// pixels. Chromium needs no adapter: its page is Playwright's own.
//   firefox: Debian's firefox-esr under puppeteer-core (WebDriver BiDi),
//     its device pixel ratio set by a preference at launch.
//   webkit: Debian's WebKitGTK MiniBrowser under WebKitWebDriver (classic
//     WebDriver, spoken here over fetch), on the X display in $DISPLAY, its
//     ratio set by GDK_SCALE (whole numbers only). Its mouse is real X input
//     through xdotool: WebKit's WebDriver delivers a right release as a
//     pointermove with `button` 0 and the right button still held in `buttons`.
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createServer } from 'node:net';
import puppeteer from 'puppeteer-core';

const FirefoxBinary = process.env.TSWEEPER_FIREFOX || '/usr/bin/firefox-esr';
const WebKitDriver = process.env.TSWEEPER_WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';
const MiniBrowser = process.env.TSWEEPER_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
// The window's inner size in CSS pixels, in both engines.
const Viewport = { width: 800, height: 600 };

// The page methods that only need evaluate and the mouse.
function domMethods(page) {
  const centre = (selector) => page.evaluate((s) => {
    const element = document.querySelector(s);
    if (!element) throw new Error(`nothing is ${s}`);
    const box = element.getBoundingClientRect();
    return [box.left + box.width / 2, box.top + box.height / 2];
  }, selector);
  return {
    // Waits for a truthy value (an element found is true: a driver may
    // give none back for it).
    async waitForFunction(fn, arg, { timeout = 10000 } = {}) {
      const until = Date.now() + timeout;
      const script = `Promise.resolve((${fn})(${JSON.stringify(arg)})).then((value) => (value instanceof Node ? true : value))`;
      for (;;) {
        const value = await page.evaluate(script);
        if (value) return value;
        if (Date.now() > until) throw new Error(`waited ${timeout} ms for ${fn}`);
        await new Promise((resolve) => setTimeout(resolve, 20));
      }
    },
    $$eval: (selector, fn) => page.evaluate(`(${fn})([...document.querySelectorAll(${JSON.stringify(selector)})])`),
    async click(selector, { button = 'left' } = {}) {
      await page.mouse.click(...await centre(selector), { button });
    },
    fill: (selector, value) => page.evaluate(([s, v]) => {
      const field = document.querySelector(s);
      field.focus();
      field.value = v;
      field.dispatchEvent(new Event('input', { bubbles: true }));
    }, [selector, value]),
    focus: (selector) => page.evaluate((s) => document.querySelector(s).focus(), selector),
    textContent: (selector) => page.evaluate((s) => document.querySelector(s)?.textContent ?? null, selector),
    getAttribute: (selector, name) => page.evaluate(([s, n]) => document.querySelector(s)?.getAttribute(n) ?? null, [selector, name]),
  };
}

// "Control+End" as the keys held, in order, and the key pressed.
const chord = (keys) => {
  const parts = keys === '+' ? ['+'] : keys.split('+');
  return { held: parts.slice(0, -1), key: parts[parts.length - 1] };
};

// ---- Firefox

async function startFirefox(ratio, { serviceWorkers = false } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'tsweeper-firefox-'));
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: FirefoxBinary, headless: true, userDataDir: profile,
    extraPrefsFirefox: { 'layout.css.devPixelsPerPx': String(ratio), 'dom.serviceWorkers.enabled': serviceWorkers },
  });
  // One page at a time, as in WebKit's one window: the keys go to the page
  // in front, so a page that a failed test left open is closed first.
  let last = null;
  return {
    async newPage() {
      if (last && !last.isClosed()) await last.close();
      const inner = await browser.newPage();
      last = inner;
      await inner.bringToFront();
      await inner.setViewport(Viewport);
      const page = {
        goto: (url) => inner.goto(url),
        reload: () => inner.reload(),
        close: () => inner.close(),
        evaluate: (fn, arg) => inner.evaluate(fn, arg),
        keyboard: {
          async press(keys) {
            const { held, key } = chord(keys);
            for (const k of held) await inner.keyboard.down(k);
            await inner.keyboard.press(key === 'Space' ? ' ' : key);
            for (const k of held.reverse()) await inner.keyboard.up(k);
          },
          type: (text) => inner.keyboard.type(text),
        },
        screenshot: async () => Buffer.from(await inner.screenshot()),
      };
      Object.assign(page, domMethods(page));
      // WebDriver BiDi moves the pointer to whole CSS pixels only, which
      // Gecko puts on the nearest device pixel: the last whole CSS pixel
      // before device pixel boundary b, and the first after it.
      page.mouse = {
        before: (b, ratio) => Math.ceil((b - 0.5) / ratio) - 1,
        after: (b, ratio) => Math.ceil((b - 0.5) / ratio),
        move: (x, y) => inner.mouse.move(x, y),
        down: (options) => inner.mouse.down(options),
        up: (options) => inner.mouse.up(options),
        click: (x, y, options) => inner.mouse.click(x, y, options),
      };
      page.inner = inner;
      return page;
    },
    // The checks ({ id, role, name }) that Firefox's accessibility tree does
    // not bear out: the element is looked for in the tree by role and name.
    async notAccessible(page, checks) {
      const wrong = [];
      for (const check of checks) {
        const found = await page.inner.$$(`aria/${check.name}[role="${check.role}"]`);
        const ids = await Promise.all(found.map((handle) => handle.evaluate((element) => element.id)));
        if (!ids.includes(check.id)) wrong.push({ ...check, found: ids });
      }
      return wrong;
    },
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// ---- WebKit

const freePort = () => new Promise((resolve, reject) => {
  const server = createServer();
  server.on('error', reject);
  server.listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

// WebDriver's codes for the keys that the tests press by name.
const KeyCodes = {
  Tab: '\uE004', Enter: '\uE007', Escape: '\uE00C', Space: ' ', Backspace: '\uE003', Shift: '\uE008', Control: '\uE009',
  Alt: '\uE00A', End: '\uE010', Home: '\uE011', ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014',
  ArrowDown: '\uE015', Delete: '\uE017', F2: '\uE032', F10: '\uE03A',
};
const keyCode = (name) => KeyCodes[name] ?? (/^Key[A-Z]$/.test(name) ? name.slice(3).toLowerCase() : name);
const XButtons = { left: 1, middle: 2, right: 3 };

async function startWebKit(ratio) {
  if (!Number.isInteger(ratio)) throw new Error(`WebKitGTK takes whole ratios only, not ${ratio}`);
  if (!process.env.DISPLAY) throw new Error('WebKit needs an X display');
  const port = await freePort();
  const driver = spawn(WebKitDriver, [`--port=${port}`], { env: { ...process.env, GDK_SCALE: String(ratio) }, stdio: 'ignore' });
  const base = `http://127.0.0.1:${port}`;
  async function call(method, path, body) {
    const response = await fetch(base + path, { method, headers: { 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body) });
    const { value } = await response.json();
    if (value && value.error) throw new Error(`WebDriver ${path}: ${value.error}: ${value.message}`);
    return value;
  }
  let session = null;
  for (let i = 0; i < 100 && !session; i++) {
    try {
      session = await call('POST', '/session', { capabilities: { alwaysMatch: {
        'webkitgtk:browserOptions': { binary: MiniBrowser, args: ['--automation'] } } } });
    } catch (error) {
      if (!String(error).includes('fetch failed') || i === 99) throw error;
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }
  const at = (path) => `/session/${session.sessionId}${path}`;
  // The window whose inner size is the viewport: the outer size less what
  // the window's own frame takes.
  await call('POST', at('/window/rect'), { x: 0, y: 0, ...Viewport });
  const inner = await call('POST', at('/execute/sync'), { script: 'return [innerWidth, innerHeight]', args: [] });
  await call('POST', at('/window/rect'), { width: 2 * Viewport.width - inner[0], height: 2 * Viewport.height - inner[1] });

  const evaluate = async (fn, arg) => {
    const script = `const done = arguments[arguments.length - 1];
      Promise.resolve().then(() => (${typeof fn === 'string' ? `() => ${fn}` : fn})(arguments[0]))
        .then((value) => done({ value: value === undefined ? null : value }), (error) => done({ error: String(error && error.stack || error) }));`;
    const result = await call('POST', at('/execute/async'), { script, args: [arg === undefined ? null : arg] });
    if (result.error) throw new Error(`in the page: ${result.error}`);
    return result.value;
  };
  const keys = async (actions) => call('POST', at('/actions'), { actions: [{ type: 'key', id: 'keys', actions }] });

  // X input goes its own way: each action is waited for until the page
  // has heard it (a count of the pointer events the window hears, kept in
  // each document), and then for a frame.
  const xdotool = (...args) => execFileSync('xdotool', args.map(String));
  const heardSoFar = () => evaluate(() => {
    if (!window.tsweeperInput) {
      const input = { count: 0, last: null };
      window.tsweeperInput = input;
      for (const type of ['pointermove', 'pointerdown', 'pointerup']) {
        addEventListener(type, (event) => {
          input.count++;
          input.last = [event.clientX, event.clientY];
        }, { capture: true });
      }
    }
    return window.tsweeperInput;
  });
  // A move within one CSS pixel may go unheard: for a move, waited for a moment only.
  async function xInput(args, mayGoUnheard = false) {
    const before = await heardSoFar();
    xdotool(...args);
    const heard = await page.waitForFunction((count) => window.tsweeperInput.count > count && window.tsweeperInput,
      before.count, { timeout: mayGoUnheard ? 300 : 5000 }).catch((error) => {
      if (!mayGoUnheard) throw error;
      return before;
    });
    await evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
    return heard;
  }

  // Where the page's CSS pixel (0, 0) lies on the X screen, found by moving
  // the X pointer twice and reading where the page heard the second move.
  let origin = null;
  let pointer = null;
  async function findOrigin() {
    const probe = [300, 300];
    await xInput(['mousemove', probe[0] + 13, probe[1] + 17], true);
    const away = (await heardSoFar()).last;
    await xInput(['mousemove', ...probe]);
    const { last } = await page.waitForFunction((other) => {
      const { last: heard } = window.tsweeperInput;
      return heard && (!other || heard[0] !== other[0] || heard[1] !== other[1]) && window.tsweeperInput;
    }, away);
    origin = [probe[0] - last[0] * ratio, probe[1] - last[1] * ratio];
    pointer = probe;
  }

  const page = {
    async goto(url) {
      await call('POST', at('/url'), { url });
    },
    async reload() {
      await call('POST', at('/refresh'), {});
    },
    async close() {
      await call('POST', at('/url'), { url: 'about:blank' });
    },
    evaluate,
    mouse: {
      async move(x, y) {
        if (!origin) await findOrigin();
        const to = [Math.floor(origin[0] + x * ratio), Math.floor(origin[1] + y * ratio)];
        if (to[0] === pointer[0] && to[1] === pointer[1]) return;
        pointer = to;
        await xInput(['mousemove', ...to], true);
      },
      async down({ button = 'left' } = {}) {
        await xInput(['mousedown', XButtons[button]]);
      },
      async up({ button = 'left' } = {}) {
        await xInput(['mouseup', XButtons[button]]);
      },
      async click(x, y, options) {
        await page.mouse.move(x, y);
        await page.mouse.down(options);
        await page.mouse.up(options);
      },
    },
    keyboard: {
      async press(names) {
        const { held, key } = chord(names);
        const down = [...held, key].map((k) => ({ type: 'keyDown', value: keyCode(k) }));
        const up = [key, ...held.reverse()].map((k) => ({ type: 'keyUp', value: keyCode(k) }));
        await keys([...down, ...up]);
      },
      async type(text) {
        await keys([...text].flatMap((c) => [{ type: 'keyDown', value: c }, { type: 'keyUp', value: c }]));
      },
    },
    screenshot: async () => Buffer.from(await call('GET', at('/screenshot')), 'base64'),
  };
  Object.assign(page, domMethods(page));

  return {
    // One window for the whole run: a new page is the same window, its
    // pointer's place on the screen found again at the first move.
    async newPage() {
      origin = null;
      return page;
    },
    // The elements among `checks` whose role or name in WebKit's
    // accessibility tree is not the one asked for.
    async notAccessible(_, checks) {
      const wrong = [];
      for (const check of checks) {
        const element = await call('POST', at('/element'), { using: 'css selector', value: `#${check.id}` });
        const id = Object.values(element)[0];
        const role = await call('GET', at(`/element/${id}/computedrole`));
        const name = await call('GET', at(`/element/${id}/computedlabel`));
        if (role !== check.role || name !== check.name) wrong.push({ ...check, found: { role, name } });
      }
      return wrong;
    },
    async close() {
      try {
        await call('DELETE', at(''));
      } finally {
        driver.kill();
      }
    },
  };
}

// Each engine's ratios under test, and the ratio it gives for one asked:
// Gecko counts 60 app units to a CSS pixel and a whole number of them to a
// device pixel (2.625 becomes 60 / 23).
export const engines = {
  firefox: { name: 'Firefox', ratios: [1, 1.5, 2, 2.625], given: (ratio) => 60 / Math.round(60 / ratio), start: startFirefox },
  webkit: { name: 'WebKit', ratios: [1, 2], given: (ratio) => ratio, start: startWebKit },
};
