// The room that the page leaves the board, worked out from one measurement
// of what surrounds it, rather than by laying the page out at each zoom: on
// a slow phone each layout costs tens of milliseconds before the first
// board. Nothing around the board grows with it (the window's frame and menu
// bar, the controls, the desk's padding and gaps), so what it leaves is the
// window less those, with the controls below the board or beside it.
// The sums leave out what could only make the page larger than they say (a
// menu bar that wraps over a board narrower than its titles, lengths that
// the layout rounds to whole pixels): they never give less than the largest
// zoom that fits, and the zoom they give is then checked on the real layout.
import { pixelRatio } from './game.js';

// CSS pixels the sums may be short by: the page's scroll sizes, which tell
// whether it fits, are whole pixels.
const Slack = 1;

const length = (value) => Number.parseFloat(value) || 0;
const box = (element) => element.getBoundingClientRect();

// The board's surroundings in CSS pixels, read from the page as laid out now,
// at whatever zoom and in whichever arrangement: a read of the layout and of
// the style, no change.
export function measureSurroundings() {
  const desk = getComputedStyle(document.getElementById('desk'));
  const frame = box(document.getElementById('window'));
  const client = box(document.getElementById('client'));
  const bar = document.getElementById('menubar');
  // A menu bar of one row: as tall as its tallest title, or its least height.
  const barRow = Math.max(length(getComputedStyle(bar).minHeight), ...[...bar.children].map((menu) => box(menu).height));
  const controls = document.getElementById('controls');
  const between = getComputedStyle(controls);
  return {
    across: window.innerWidth,
    down: window.innerHeight,
    padding: { across: length(desk.paddingLeft) + length(desk.paddingRight), down: length(desk.paddingTop) + length(desk.paddingBottom) },
    // The window less its board, its menu bar of one row.
    frame: { across: frame.width - client.width, down: frame.height - box(bar).height + barRow - client.height },
    // Between the window and the controls, below it and beside it.
    gap: { below: length(desk.rowGap), beside: length(desk.columnGap) },
    controls: {
      parts: [...controls.children].filter((part) => part.getClientRects().length > 0).map(box)
        .map(({ width, height }) => ({ width, height })),
      across: length(between.columnGap),
      down: length(between.rowGap),
    },
  };
}

// The controls' box in rows that wrap within `room` across (below the board).
function inRows({ parts, across, down }, room) {
  const rows = [];
  for (const part of parts) {
    const row = rows.at(-1);
    if (row && row.width + across + part.width <= room + Slack) {
      row.width += across + part.width;
      row.height = Math.max(row.height, part.height);
    } else {
      rows.push({ ...part });
    }
  }
  return {
    width: Math.max(0, ...rows.map((row) => row.width)),
    height: rows.reduce((sum, row) => sum + row.height, 0) + down * Math.max(0, rows.length - 1),
  };
}

// The controls' box in a column (beside the board).
function inColumn({ parts, down }) {
  return {
    width: Math.max(0, ...parts.map((part) => part.width)),
    height: parts.reduce((sum, part) => sum + part.height, 0) + down * Math.max(0, parts.length - 1),
  };
}

// The largest zoom at which, by the sums, the board of `canvas` fits the
// window with the controls below it or `beside` it; at least `least`.
export function largestZoomBySums(surroundings, canvas, beside, least) {
  const { across, down, padding, frame, gap } = surroundings;
  const deskAcross = across - padding.across;
  const deskDown = down - padding.down;
  const controls = beside ? inColumn(surroundings.controls) : inRows(surroundings.controls, deskAcross);
  // Hidden controls take no gap either.
  const shown = surroundings.controls.parts.length > 0;
  let room;
  if (beside) {
    if (controls.height > deskDown + Slack) return least;
    room = { across: deskAcross - frame.across - (shown ? gap.beside + controls.width : 0), down: deskDown - frame.down };
  } else {
    if (controls.width > deskAcross + Slack) return least;
    room = { across: deskAcross - frame.across, down: deskDown - frame.down - (shown ? gap.below + controls.height : 0) };
  }
  const ratio = pixelRatio();
  const zoom = Math.min(Math.floor(((room.across + Slack) * ratio) / canvas.width),
    Math.floor(((room.down + Slack) * ratio) / canvas.height));
  return Math.max(least, zoom);
}
