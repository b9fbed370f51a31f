// The browser test's coverage pass (browser_test.mjs --coverage): what the
// page's own scripts, web/*.js, run in Chromium, in the page and in its
// workers, through V8's precise coverage. The page's scripts are taken with
// Playwright's page.coverage, before each navigation; the workers' through
// coverage-chromium.mjs, the browser Playwright launches here, before each
// navigation too and before the page terminates a worker.
//
// A worker runs a blob: script made of whole functions' text from the
// site's scripts, joined by a little glue: each function is found again by
// its text in web/, and what it ran is moved there. Text found in none of
// them (the glue, the module from vorn-web.js) is left out. The counts are
// merged (@bcoe/v8-coverage), then read as lines and branches by
// v8-to-istanbul, which counts what a `c8 ignore` comment marks as run.
import fs from 'node:fs';
import path from 'node:path';
import merging from '@bcoe/v8-coverage';
import v8_to_istanbul from 'v8-to-istanbul';

const HERE = path.dirname(new URL(import.meta.url).pathname);
const WEB = path.resolve(HERE, '../../web');
export const CHROMIUM = path.join(HERE, 'coverage-chromium.mjs');
// The pass fails below this share of web/'s lines, in percent: what the
// cases reach, rounded down, as the lines that a slice of drawing reaches
// depend on the machine's speed. What Chromium can't reach (another
// engine's path, storage turned off) is marked in place, with its reason.
const LINE_FLOOR = 98;
// A worker's function shorter than this is not looked for in web/ on its
// own (only as part of a longer one): short text may be found by chance.
const SHORTEST_FUNCTION = 40;

const taken = []; // { url, source, functions } of each script, each time taken
const sources = new Map(); // a worker script's key -> its source, given once

// Takes the coverage of `page`, and of the workers of every page, before
// each navigation and before the browser closes, by wrapping `verbs`, the
// driver's. Only scripts whose URL `own` accepts are kept.
export async function watch(browser, context, page, verbs, own) {
  const session = await browser.newBrowserCDPSession();
  const take_workers = async () => {
    const { scripts } = await session.send('Vorn.takeCoverage');
    for (const script of scripts) {
      if (script.source !== undefined) sources.set(script.key, script.source);
      if (!own(script.url)) continue;
      taken.push({ url: script.url, source: sources.get(script.key), functions: script.functions });
    }
  };
  const take = async () => {
    for (const script of await page.coverage.stopJSCoverage()) if (own(script.url)) taken.push(script);
    await take_workers();
    await page.coverage.startJSCoverage();
  };
  await context.exposeFunction('__vorn_take_coverage', take_workers);
  await context.addInitScript(take_before_terminate);
  await page.coverage.startJSCoverage();
  for (const verb of ['goto', 'reload', 'close']) {
    const real = verbs[verb];
    verbs[verb] = async (...args) => {
      await take();
      return real(...args);
    };
  }
}

// Run in each page: a worker is terminated only once what it ran is taken;
// meanwhile the page hears no more from it, as after a termination.
function take_before_terminate() {
  const terminate = Worker.prototype.terminate;
  Worker.prototype.terminate = function () {
    this.onmessage = null;
    this.onerror = null;
    window.__vorn_take_coverage().finally(() => terminate.call(this));
  };
}

// A file of the site is its web/ file, but for each @NAME@ that the build
// fills in (configure_file): the file's text in pieces around them, each
// with its offset.
function pieces(text) {
  const parts = [];
  let at = 0;
  for (const filled of text.matchAll(/@[A-Z_]+@/g)) {
    parts.push({ text: text.slice(at, filled.index), at });
    at = filled.index + filled[0].length;
  }
  return [...parts, { text: text.slice(at), at }];
}

// Where `text` is in `file`, as a function from an offset in `text` to one
// in the file, or null: within one piece, or as the whole file with its
// places filled in, where an offset within a filled place goes to its start.
function find_in(text, file) {
  for (const part of file.parts) {
    const at = text.length >= SHORTEST_FUNCTION ? part.text.indexOf(text) : -1;
    if (at >= 0) return (offset) => offset + part.at + at;
  }
  const found = [];
  for (const part of file.parts) {
    const from = found.length === 0 ? 0 : found.at(-1).at + found.at(-1).part.text.length;
    const at = text.indexOf(part.text, from);
    if (at < 0 || (from === 0 && at !== 0)) return null;
    found.push({ part, at });
  }
  if (file.parts.length === 1 || found.at(-1).at + found.at(-1).part.text.length !== text.length) return null;
  return (offset) => {
    const { part, at } = found.findLast((one) => one.at <= offset);
    return part.at + Math.min(offset - at, part.text.length);
  };
}

// Where in `files` the text of a function of `script` is: { start, end }
// in the script, with the file's path and a function that moves an offset
// there, or no file for text from elsewhere; null for the whole of a script
// from elsewhere, whose functions are then looked for one by one.
function find_text(script, root, files) {
  const text = script.source.slice(root.startOffset, root.endOffset);
  const where = { start: root.startOffset, end: root.endOffset, file: null };
  for (const file of files) {
    const move = find_in(text, file);
    if (move) return { ...where, file: file.path, move: (offset) => move(offset - root.startOffset) };
  }
  return root.startOffset === 0 && root.endOffset >= script.source.length ? null : where;
}

// The functions of `script` that come from `files`, each with its ranges
// moved to its file: a map from the file's path to them. Outer functions
// come first, and a function inside one already found moves with it.
function locate(script, files) {
  const found = [];
  const located = new Map();
  const size = (fn) => fn.ranges[0].endOffset - fn.ranges[0].startOffset;
  for (const fn of script.functions.slice().sort((a, b) => size(b) - size(a))) {
    const root = fn.ranges[0];
    let where = found.find((one) => one.start <= root.startOffset && root.endOffset <= one.end);
    if (!where) {
      where = find_text(script, root, files);
      if (!where) continue;
      found.push(where);
    }
    if (!where.file) continue;
    const ranges = fn.ranges.map((range) =>
      ({ startOffset: where.move(range.startOffset), endOffset: where.move(range.endOffset), count: range.count }));
    if (!located.has(where.file)) located.set(where.file, []);
    located.get(where.file).push({ ...fn, ranges });
  }
  return located;
}

// Lines and branches of one file, as [covered, total] each.
async function file_counts(file, functions) {
  const converter = v8_to_istanbul(file.path, 0, { source: file.text });
  await converter.load();
  converter.applyCoverage(functions);
  const data = Object.values(converter.toIstanbul())[0];
  const lines = Object.values(data.s);
  const branches = Object.values(data.b).flat();
  const covered = (counts) => counts.filter((count) => count > 0).length;
  return { lines: [covered(lines), lines.length], branches: [covered(branches), branches.length], data };
}

function share([covered, total]) {
  return `${(total === 0 ? 100 : (100 * covered) / total).toFixed(1)}% (${covered} out of ${total})`;
}

// Prints the two totals, leaves each file's counts in <work>/web-coverage.json
// (istanbul's form), and says whether the lines reach the floor. A file
// that no page loaded counts as never run.
export async function report(work) {
  const files = fs.readdirSync(WEB).filter((name) => name.endsWith('.js')).sort().map((name) => {
    const text = fs.readFileSync(path.join(WEB, name), 'utf8');
    return { path: path.join(WEB, name), text, parts: pieces(text) };
  });
  const never_run = (file) => [{ functionName: '', isBlockCoverage: true,
    ranges: [{ startOffset: 0, endOffset: file.text.length, count: 0 }] }];
  const runs = files.map((file) => ({ result: [{ scriptId: '0', url: file.path, functions: never_run(file) }] }));
  for (const script of taken.filter((one) => one.source !== undefined)) {
    for (const [url, functions] of locate(script, files)) runs.push({ result: [{ scriptId: '0', url, functions }] });
  }
  const totals = { lines: [0, 0], branches: [0, 0] };
  const data = {};
  for (const script of merging.mergeProcessCovs(runs).result) {
    const counts = await file_counts(files.find((file) => file.path === script.url), script.functions);
    data[script.url] = counts.data;
    for (const kind of ['lines', 'branches']) totals[kind] = totals[kind].map((sum, i) => sum + counts[kind][i]);
  }
  fs.writeFileSync(path.join(work, 'web-coverage.json'), JSON.stringify(data));
  console.log(`coverage of web/, lines: ${share(totals.lines)}`);
  console.log(`coverage of web/, branches: ${share(totals.branches)}`);
  return (100 * totals.lines[0]) / totals.lines[1] >= LINE_FLOOR;
}
