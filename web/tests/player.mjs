// A mouse player on the page that writes down, for the native replay, the
// mouse cases that its real pointer events must become: the buttons held
// after each event and the client-area pixel.
import { pagePoint, squareCentre } from './support.mjs';

const Bits = { left: 1, right: 2 };
const Names = { left: 'l', right: 'r' };

export function mousePlayer(page, log) {
  let held = 0;
  let at = null;
  const player = {
    log,
    async move(x, y) {
      if (at && at.x === x && at.y === y) return;
      const p = await pagePoint(page, x, y);
      await page.mouse.move(p.x, p.y);
      // The browser merges the moves of one frame into one, as the desktop
      // merges mouse-move messages: a frame for each keeps every one heard.
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
      at = { x, y };
      log.push(`move ${held} ${x} ${y}`);
    },
    async down(button, x, y) {
      if (x !== undefined) await player.move(x, y);
      await page.mouse.down({ button });
      held |= Bits[button];
      log.push(`${Names[button]}down ${held} ${at.x} ${at.y}`);
    },
    async up(button, x, y) {
      if (x !== undefined) await player.move(x, y);
      await page.mouse.up({ button });
      held &= ~Bits[button];
      log.push(`${Names[button]}up ${held} ${at.x} ${at.y}`);
    },
    // A click in the middle of square (column, row).
    async click(button, column, row) {
      await player.down(button, ...squareCentre(column, row));
      await player.up(button);
    },
    async chord(column, row) {
      await player.down('left', ...squareCentre(column, row));
      await player.down('right');
      await player.up('left');
      await player.up('right');
    },
    held: () => held,
    // The pointer went elsewhere (to the menu, say): the next move is real.
    forget: () => { at = null; },
  };
  return player;
}
