// Where a fresh load's time goes before its first board: a Chromium trace
// of one fresh load of the page (and of the bare page of the floor), with
// the processor as it is and slowed 4 times, summed on the renderer's main
// thread from the navigation's start to the frame in which the observer of
// ./first-board.mjs first saw the board. Each event counts its own time
// (without the events inside it), so that the rows add up; the figures are
// medians over SAMPLES fresh loads, one trace each.
// Usage: node bench/trace-page.mjs [SAMPLES [SITE_DIR]]   (5, build/web by default)
import { chromium } from 'playwright-core';
import { chromiumOptions, siteDir, startServer } from '../tests/support.mjs';
import { firstBoardPicture, startFloor, freshLoad } from './first-board.mjs';

// The events' own times grouped by what the work is, first match wins.
const kinds = [
  ['the HTML decoded, scanned and parsed', /ParseHTML|HTMLDocumentParser|TextResourceDecoder|PreloadScanner|AppendBytes|BodyData|BodyLoading|FinishedParsing/],
  ['the document and its window set up', /CommitNavigation|LocalWindowProxy|DeserializeContext|ContextCreated|InitializeWindow|Document::Document|Document::shutdown|DispatchUnload|InstallConditionalFeatures|OpenForNavigation|DocumentLoader/],
  ['style', /[Ss]tyle|LayoutTree/],
  ['layout and text shaping', /[Ll]ayout|Shape|InlineNode|PropagateFrameRects/],
  ['paint and commit', /Paint|Commit|Composit|Raster|Lifecycle|BeginMainFrame/],
  ['script: compiled and run, the module compiled', /^v8|^V8|FunctionCall|RunMicrotasks|AsyncTask|Script|wasm/],
];
const kindOf = (event) => (kinds.find(([, pattern]) => pattern.test(event)) || ['other (tasks, messages)'])[0];

const categories = ['devtools.timeline', 'disabled-by-default-devtools.timeline', 'v8', 'v8.execute',
  'blink', 'blink.user_timing', 'loading', 'toplevel'];

// Own time by event name on the main thread of the page's renderer, up to `seen` ms after navigationStart.
function ownTimes(trace, seen) {
  const { traceEvents } = JSON.parse(trace);
  const start = traceEvents.find((e) => e.name === 'navigationStart' && e.args?.data?.isLoadingMainFrame
    && e.args.data.documentLoaderURL?.startsWith('http'));
  const main = traceEvents.find((e) => e.ph === 'M' && e.name === 'thread_name' && e.pid === start.pid
    && e.args.name === 'CrRendererMain');
  const end = start.ts + seen * 1000;
  const events = traceEvents.filter((e) => e.pid === start.pid && e.tid === main.tid && e.ph === 'X'
    && e.dur > 0 && e.ts >= start.ts && e.ts < end).sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const own = new Map();
  const open = [];
  for (const event of events) {
    const stop = Math.min(event.ts + event.dur, end);
    while (open.length && open.at(-1).stop <= event.ts) open.pop();
    const parent = open.at(-1);
    if (parent) own.set(parent.name, own.get(parent.name) - (stop - event.ts));
    own.set(event.name, (own.get(event.name) || 0) + (stop - event.ts));
    open.push({ name: event.name, stop });
  }
  const busy = [...own.values()].reduce((a, b) => a + b, 0);
  return { busy: busy / 1000, rows: [...own].map(([name, us]) => [name, us / 1000]).sort((a, b) => b[1] - a[1]) };
}

const samples = Number(process.argv[2] || 5);
const site = await startServer({ dir: process.argv[3] || siteDir });
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const floor = await startFloor();
const board = firstBoardPicture();
const browser = await chromium.launch(chromiumOptions);
for (const rate of [1, 4]) {
  for (const [name, url, picture] of [['floor', floor.url, floor.picture], ['page', site.url, board]]) {
    const loads = [];
    for (let i = 0; i < samples; i++) {
      let trace = null;
      const traced = async (tab) => {
        await browser.startTracing(tab, { categories });
        return async () => { trace = (await browser.stopTracing()).toString(); };
      };
      const load = await freshLoad(browser, url, picture, rate, traced);
      loads.push({ seen: load.seen, ...ownTimes(trace, load.seen) });
    }
    const names = new Set(loads.flatMap((load) => load.rows.map(([event]) => event)));
    const rows = [...names].map((event) => [event, median(loads.map((load) => load.rows.find(([e]) => e === event)?.[1] ?? 0))])
      .sort((a, b) => b[1] - a[1]);
    console.log(`${name}, processor slowed ${rate}x, medians of ${samples} traced loads: first board seen at `
      + `${median(loads.map((load) => load.seen)).toFixed(1)} ms, main thread busy `
      + `${median(loads.map((load) => load.busy)).toFixed(1)} ms before it`);
    const grouped = new Map();
    for (const load of loads) {
      const sums = new Map();
      for (const [event, ms] of load.rows) sums.set(kindOf(event), (sums.get(kindOf(event)) || 0) + ms);
      for (const [kind, ms] of sums) grouped.set(kind, [...(grouped.get(kind) || []), ms]);
    }
    const byKind = [...grouped].map(([kind, values]) => [kind, median(values)]).sort((a, b) => b[1] - a[1]);
    for (const [kind, ms] of byKind) console.log(`  ${kind.padEnd(48)} ${ms.toFixed(1)} ms`);
    for (const [event, ms] of rows.slice(0, 8)) console.log(`    ${event.padEnd(46)} ${ms.toFixed(1)} ms`);
  }
}
await browser.close();
await site.close();
await floor.close();
