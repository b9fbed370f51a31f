// Drives the web page in Chromium, opened from file://, and compares every
// listing, as downloaded and as shown, with what the native program prints
// for the same files and arguments in a folder of its own. Any request
// beyond the page's own files fails the test.
//
//   node browser_test.mjs <site-dir> <native-vorn> <work-dir>
//   node browser_test.mjs --example <site-dir> <work-dir>
//
// The work dir gets the planet files, the downloads and web.png, a
// screenshot of the example game's listing. With --example, as the release
// check runs it on an unpacked page, only "Try the example game" is pressed,
// and its download is left in the work dir as downloads/duel-listing.txt,
// for the caller to compare.
import { chromium } from 'playwright-core';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const example_only = process.argv[2] === '--example';
const [site, native_vorn, work] = (example_only ? [process.argv[3], null, process.argv[4]] : process.argv.slice(2)).map(
  (arg) => arg && path.resolve(arg),
);
const DEFAULT_LIMITS = ['0.5', '1.5', '-40', '40', '20', '80'];
const LIMIT_IDS = ['gravmin', 'gravmax', 'tempmin', 'tempmax', 'radmin', 'radmax'];
// windows-1252 as browsers decode it, written out: Node's own TextDecoder
// takes that label for ISO-8859-1, so it can't be the reference here.
const CP1252_HIGH = [
  0x20ac, 0x81, 0x201a, 0x192, 0x201e, 0x2026, 0x2020, 0x2021, 0x2c6, 0x2030, 0x160, 0x2039, 0x152, 0x8d, 0x17d, 0x8f,
  0x90, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x2dc, 0x2122, 0x161, 0x203a, 0x153, 0x9d, 0x17e, 0x178,
];
function decode(bytes) {
  let text = '';
  for (const byte of bytes) text += String.fromCharCode(byte >= 0x80 && byte < 0xa0 ? CP1252_HIGH[byte - 0x80] : byte);
  return text;
}
const EXAMPLES = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../../examples/games');

let failures = 0;
function check(condition, what) {
  if (!condition) {
    failures += 1;
    console.log('FAIL: ' + what);
  }
  return condition;
}

// Planet files as the game writes them: a header with Grav in column 20,
// CR LF line ends.
function header() {
  const columns = ['Name'];
  for (let i = 1; i <= 19; i++) columns.push('col' + i);
  return columns.concat(['Grav', 'Temp', 'Rad']).join('\t') + '\r\n';
}
function planet(name, grav, temp, rad) {
  return [name, ...Array(19).fill('-'), grav, temp, rad].join('\t') + '\r\n';
}
function make_game(name, files) {
  const dir = path.join(work, 'games', name);
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(dir, { recursive: true });
  for (const [file, contents] of Object.entries(files)) {
    fs.writeFileSync(path.join(dir, file), typeof contents === 'string' ? Buffer.from(contents, 'latin1') : contents);
  }
  return dir;
}
function native(dir, game, limits) {
  const started = process.hrtime.bigint();
  const run = spawnSync(native_vorn, [game, ...limits], { cwd: dir, maxBuffer: 1 << 30 });
  const seconds = Number(process.hrtime.bigint() - started) / 1e9;
  if (run.error) throw run.error;
  return { stdout: run.stdout, status: run.status, seconds };
}

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
const context = await browser.newContext({ acceptDownloads: true });
const site_url = pathToFileURL(site).href + '/';
const foreign = [];
// The page's own files, and the data: and blob: URLs it makes itself.
function own(url) {
  return url.startsWith(site_url) || url.startsWith('data:') || url.startsWith('blob:');
}
context.on('request', (request) => own(request.url()) || foreign.push(request.url()));
await context.route('**/*', (route) => (own(route.request().url()) ? route.continue() : route.abort()));
const page = await context.newPage();
const page_errors = [];
page.on('pageerror', (error) => page_errors.push(String(error)));

async function open_page() {
  const started = Date.now();
  await page.goto(site_url + 'index.html');
  await page.waitForFunction(() => typeof createVorn === 'function');
  return Date.now() - started;
}

async function set_limits(limits) {
  for (let i = 0; i < 6; i++) await page.fill('#' + LIMIT_IDS[i], limits[i]);
}

// Waits for the run that `start` begins to end, and saves its download in
// the work dir's downloads/.
async function run_and_save(start) {
  const started = Date.now();
  await start();
  await page.waitForSelector('#listing[data-exit-status]', { timeout: 120000 });
  const page_seconds = (Date.now() - started) / 1000;
  const status = await page.getAttribute('#listing', 'data-exit-status');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
  const name = download.suggestedFilename();
  const saved = path.join(work, 'downloads', name);
  await download.saveAs(saved);
  const shown = await page.textContent('#listing');
  return { page_seconds, status, name, bytes: fs.readFileSync(saved), shown };
}

// Runs as run_and_save, then compares its listing, downloaded and shown,
// with the native program's on `dir`.
async function compare_run(what, start, dir, game, limits) {
  const run = await run_and_save(start);
  const want = native(dir, game, limits);
  check(run.status === String(want.status), `${what}: exit status ${run.status}, native ${want.status}`);
  check(run.name === game + '-listing.txt', `${what}: saved as ${run.name}`);
  check(run.bytes.equals(want.stdout), `${what}: the downloaded bytes differ from the native program's`);
  // Shown without loss: one character for each byte the program wrote.
  check(run.shown === decode(want.stdout), `${what}: the listing shown differs from the native program's`);
  check(await page.isHidden('#problems'), `${what}: problems shown: ${await page.textContent('#errors')}`);
  return { page_seconds: run.page_seconds, native_seconds: want.seconds, bytes: want.stdout };
}

async function finish() {
  check(foreign.length === 0, 'requests beyond the page\'s own files: ' + foreign.join(' '));
  check(page_errors.length === 0, 'errors in the page: ' + page_errors.join(' '));
  await browser.close();
  console.log(failures === 0 ? 'browser test: passed' : `browser test: ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

async function choose(dir, names) {
  await page.setInputFiles('#files', names.map((name) => path.join(dir, name)));
}

async function options() {
  return page.$$eval('#game option', (all) => all.map((option) => option.value));
}

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(path.join(work, 'downloads'), { recursive: true });

// The example game, on a first visit: the default limits.
const open_ms = await open_page();
console.log(`page opened in ${open_ms} ms`);
if (example_only) {
  const run = await run_and_save(() => page.click('#example'));
  check(run.status === '0', `example game: exit status ${run.status}`);
  check(run.shown === decode(run.bytes), 'example game: the listing shown differs from the one saved');
  await finish();
}
// The page's display decoding keeps every byte: 256 bytes, 256 distinct
// characters, none of them U+FFFD.
const all_bytes = await page.evaluate(() =>
  new TextDecoder('windows-1252').decode(Uint8Array.from({ length: 256 }, (_, i) => i)),
);
check(all_bytes === decode(Uint8Array.from({ length: 256 }, (_, i) => i)), 'windows-1252 in the page is not as expected');
check(new Set(all_bytes).size === 256 && !all_bytes.includes('\uFFFD'), 'windows-1252 does not keep every byte');
check(
  JSON.stringify(await Promise.all(LIMIT_IDS.map((id) => page.inputValue('#' + id)))) === JSON.stringify(DEFAULT_LIMITS),
  'the first visit does not start with the example limits',
);
await compare_run('example game', () => page.click('#example'), EXAMPLES, 'duel', DEFAULT_LIMITS);
await page.setViewportSize({ width: 900, height: 1100 });
await page.locator('#list-title').scrollIntoViewIfNeeded();
await page.screenshot({ path: path.join(work, 'web.png'), fullPage: true });

// A run that fails: the program's own usage message (main() given the game
// alone), its status 1 shown beside the listing, not inside it.
{
  await page.evaluate(() => {
    const real = createVorn;
    window.createVorn = async (options) => {
      const vorn = await real(options);
      const call_main = vorn.callMain;
      vorn.callMain = (args) => call_main(args.slice(0, 1));
      return vorn;
    };
  });
  await page.click('#example');
  await page.waitForSelector('#listing[data-exit-status]');
  check((await page.getAttribute('#listing', 'data-exit-status')) === '1', 'failed run: status not 1');
  check((await page.textContent('#listing')).includes('\nUse: Vorn <game> '), 'failed run: no usage message');
  check(!(await page.textContent('#listing')).includes('Exit status'), 'failed run: status inside the listing');
  check((await page.isVisible('#problems')) && (await page.textContent('#errors')) === 'Exit status 1\n',
    `failed run: problems shown as ${JSON.stringify(await page.textContent('#errors'))}`);
  await open_page();
}

// Mixed-case names are one game; a file that is no planet file is named.
{
  const dir = make_game('mixed', {
    'duel.P1': header() + planet('Amber', '1', '20', '30'),
    'DUEL.p2': header() + planet('Birch', '0.9', '-5', '40') + planet('Cold', '1', '-90', '40'),
    'notes.txt': 'not a planet file\n',
  });
  await choose(dir, ['duel.P1', 'DUEL.p2', 'notes.txt']);
  check(JSON.stringify(await options()) === '["duel"]', `mixed case: options ${await options()}`);
  check((await page.textContent('#found')).includes('Ignored: notes.txt'), 'mixed case: notes.txt not named');
  await set_limits(DEFAULT_LIMITS);
  await compare_run('mixed case', () => page.click('#run'), dir, 'duel', DEFAULT_LIMITS);
}

// Two games among the chosen files: the player picks one.
{
  const dir = make_game('two', {
    'alpha.p1': header() + planet('Aster', '1', '0', '50'),
    'alpha.p3': header() + planet('Alder', '1.2', '10', '60'),
    'BETA.P2': header() + planet('Bramble', '0.6', '30', '25') + planet('Heavy', '3', '0', '30'),
  });
  await choose(dir, ['alpha.p1', 'alpha.p3', 'BETA.P2']);
  check(JSON.stringify(await options()) === '["","alpha","BETA"]', `two games: options ${await options()}`);
  await page.selectOption('#game', 'BETA');
  await compare_run('two games', () => page.click('#run'), dir, 'BETA', DEFAULT_LIMITS);
}

// CR LF and LF lines, a Ctrl-Z that ends a file, limits with units.
{
  const limits = ['0.75g', '2g', '-50C', '50C', '0mR', '90mR'];
  const dir = make_game('ends', {
    'ends.p1': header() + planet('Crlf', '1', '1', '1') + 'Lf\t' + Array(19).fill('-').join('\t') + '\t1\t2\t3\n',
    'ends.p2': header() + planet('Kept', '1.5', '0', '10') + '\x1a' + planet('Hidden', '1', '0', '10'),
  });
  await choose(dir, ['ends.p1', 'ends.p2']);
  await set_limits(limits);
  await compare_run('CR LF and Ctrl-Z', () => page.click('#run'), dir, 'ends', limits);
}

// A name in the game's code page: bytes from 0x80 up, the ones that
// windows-1252 leaves undefined among them.
{
  const name = Buffer.from([0x4e, 0xe9, 0x81, 0x8d, 0x8f, 0x90, 0x9d, 0x80, 0xff, 0xa0]);
  const contents = Buffer.concat([Buffer.from(header()), name, Buffer.from(planet('', '1', '0', '50'))]);
  const dir = make_game('bytes', { 'codes.p1': contents });
  await choose(dir, ['codes.p1']);
  await set_limits(DEFAULT_LIMITS);
  const run = await compare_run('code page bytes', () => page.click('#run'), dir, 'codes', DEFAULT_LIMITS);
  check(run.bytes.includes(name), 'code page bytes: the native listing lacks the name');
}

// By keyboard alone, once the files are chosen: Tab to the limits, type
// them, Tab to the button and press Enter. The limits are remembered.
{
  const limits = ['0.2', '1.1', '-10', '30', '25', '55'];
  const dir = path.join(work, 'games', 'mixed');
  await choose(dir, ['duel.P1', 'DUEL.p2']);
  await page.focus('#game');
  const tab_to = async (id) => {
    for (let i = 0; i < 30; i++) {
      await page.keyboard.press('Tab');
      if ((await page.evaluate(() => document.activeElement.id)) === id) return true;
    }
    return check(false, `keyboard: Tab never reaches #${id}`);
  };
  for (let i = 0; i < 6; i++) {
    await tab_to(LIMIT_IDS[i]);
    await page.keyboard.press('Control+A');
    await page.keyboard.type(limits[i]);
  }
  await tab_to('run');
  await compare_run('keyboard', () => page.keyboard.press('Enter'), dir, 'duel', limits);
  await open_page();
  const kept = await Promise.all(LIMIT_IDS.map((id) => page.inputValue('#' + id)));
  check(JSON.stringify(kept) === JSON.stringify(limits), `keyboard: limits not remembered: ${kept}`);
}

// A large game: 16 files of 5 MB.
{
  const files = {};
  const names = [];
  for (let number = 1; number <= 16; number++) {
    const lines = [header()];
    let size = lines[0].length;
    for (let i = 0; size < 5 * 1024 * 1024; i++) {
      const line = planet(`P${number}-${i}`, ((i * 7) % 300) / 100, ((i * 13) % 200) - 100, (i * 11) % 100);
      lines.push(line);
      size += line.length;
    }
    names.push(`big.p${number}`);
    files[names.at(-1)] = lines.join('');
  }
  const dir = make_game('big', files);
  await choose(dir, names);
  await set_limits(DEFAULT_LIMITS);
  const run = await compare_run('large game', () => page.click('#run'), dir, 'big', DEFAULT_LIMITS);
  console.log(`large game (16 files of 5 MB, ${run.bytes.length} bytes listed): page ${run.page_seconds.toFixed(2)} s,` +
    ` native ${run.native_seconds.toFixed(2)} s`);
}

await finish();
