// The page around the program: it picks the planet files, runs the program's
// own main() on them in a fresh module each time (vorn-web.js, built from
// the same sources as every other vorn), and shows the bytes it printed.
'use strict';

const LIMIT_IDS = ['gravmin', 'gravmax', 'tempmin', 'tempmax', 'radmin', 'radmax'];
// The example game's limits, as the README runs it.
const DEFAULT_LIMITS = ['0.5', '1.5', '-40', '40', '20', '80'];
const STORAGE_KEY = 'vorn.limits';
// The names the program reads: <game>.p1 to <game>.p16, in any case.
const PLANET_FILE = /^(.+)\.p([1-9]|1[0-6])$/i;
// Built into the module's file system (web/CMakeLists.txt).
const EXAMPLE_DIR = '/example';
const EXAMPLE_GAME = 'duel';
// Every byte has its own character in windows-1252 as browsers decode it
// (0x81, 0x8D, 0x8F, 0x90 and 0x9D become the C1 controls): no byte is lost
// or replaced, whatever code page the game's names were written in.
const DISPLAY_DECODER = new TextDecoder('windows-1252');

let games = new Map(); // lower-case base name -> { name, files: [File] }
let last_run = null; // { game, bytes } of the listing shown

function $(id) {
  return document.getElementById(id);
}

// The program matches names ignoring ASCII case only.
function ascii_lower(text) {
  return text.replace(/[A-Z]/g, (letter) => letter.toLowerCase());
}

// Groups the chosen files by game; a name that is not a planet file, or the
// same name a second time (from two folders), is ignored.
function group_files(files) {
  const found = new Map();
  const ignored = [];
  const names = new Set();
  for (const file of files) {
    const match = PLANET_FILE.exec(file.name);
    if (!match || names.has(file.name)) {
      ignored.push(file.name);
      continue;
    }
    names.add(file.name);
    const key = ascii_lower(match[1]);
    if (!found.has(key)) found.set(key, { name: match[1], files: [] });
    found.get(key).files.push(file);
  }
  return { found, ignored };
}

function file_number(file) {
  return Number(PLANET_FILE.exec(file.name)[2]);
}

function choose_files(files) {
  const { found, ignored } = group_files(files);
  games = found;
  const select = $('game');
  select.replaceChildren();
  const report = $('found');
  report.replaceChildren();
  if (found.size > 1) {
    select.append(new Option('Pick one of ' + found.size + ' games', ''));
  } else if (found.size === 0) {
    select.append(new Option('No game among these files', ''));
  }
  for (const game of found.values()) {
    // Each game's base name as its first file spells it.
    game.files.sort((a, b) => file_number(a) - file_number(b));
    game.name = PLANET_FILE.exec(game.files[0].name)[1];
    const numbers = game.files.map(file_number).join(', ');
    select.append(new Option(game.name + ' (files ' + numbers + ')', game.name));
    add_line(report, 'Game ' + game.name + ': files ' + numbers);
  }
  if (ignored.length > 0) add_line(report, 'Ignored: ' + ignored.join(', '));
  select.disabled = found.size === 0;
  select.selectedIndex = 0;
}

function add_line(parent, text) {
  const line = document.createElement('p');
  line.textContent = text;
  parent.append(line);
}

function chosen_game() {
  const name = $('game').value;
  return name ? games.get(ascii_lower(name)) : undefined;
}

function limits() {
  return LIMIT_IDS.map((id) => $(id).value);
}

function load_limits() {
  let saved = null;
  try {
    saved = JSON.parse(localStorage.getItem(STORAGE_KEY));
  } catch (error) {
    // No storage (a private window, say): the defaults then.
  }
  const values = Array.isArray(saved) && saved.length === 6 ? saved : DEFAULT_LIMITS;
  LIMIT_IDS.forEach((id, i) => ($(id).value = String(values[i])));
}

function save_limits() {
  try {
    localStorage.setItem(STORAGE_KEY, JSON.stringify(limits()));
  } catch (error) {
    // Not remembered, but the listing works all the same.
  }
}

// A growing buffer for the bytes of one stream.
function byte_sink() {
  let bytes = new Uint8Array(1 << 16);
  let length = 0;
  return {
    put(byte) {
      if (length === bytes.length) {
        const larger = new Uint8Array(bytes.length * 2);
        larger.set(bytes);
        bytes = larger;
      }
      bytes[length++] = byte;
    },
    bytes: () => bytes.slice(0, length),
  };
}

// Runs main() once, in a module of its own, with the files in `dir` (written
// there first, if given) as the current directory. The stdout and stderr
// callbacks get every byte as written; the status is main()'s.
async function run_vorn(dir, files, args) {
  const stdout = byte_sink();
  const stderr = byte_sink();
  const vorn = await createVorn({
    stdout: stdout.put,
    stderr: stderr.put,
    // The program's end: the module throws back to callMain, which returns.
    quit: (status, to_throw) => {
      throw to_throw;
    },
  });
  if (files.length > 0) {
    vorn.FS.mkdir(dir);
    for (const file of files) vorn.FS.writeFile(dir + '/' + file.name, file.bytes);
  }
  vorn.FS.chdir(dir);
  const status = vorn.callMain(args);
  return { status, stdout: stdout.bytes(), stderr: stderr.bytes() };
}

async function read_files(files) {
  return Promise.all(
    files.map(async (file) => ({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) })),
  );
}

// Lets the browser show "Listing..." before main() holds the page.
function next_frame() {
  return new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
}

async function list(game_name, dir, files) {
  const listing = $('listing');
  listing.removeAttribute('data-exit-status');
  listing.textContent = '';
  $('problems').hidden = true;
  $('copy').disabled = $('download').disabled = true;
  for (const id of ['run', 'example']) $(id).disabled = true;
  $('status').textContent = 'Listing ' + game_name + '...';
  save_limits();
  try {
    const contents = await read_files(files);
    await next_frame();
    const started = performance.now();
    const result = await run_vorn(dir, contents, [game_name, ...limits()]);
    const seconds = ((performance.now() - started) / 1000).toFixed(2);
    show(game_name, result);
    $('status').textContent = 'Listed ' + game_name + ' in ' + seconds + ' s.';
  } catch (error) {
    $('status').textContent = 'Could not list ' + game_name + ': ' + error;
    listing.dataset.exitStatus = 'none';
  } finally {
    for (const id of ['run', 'example']) $(id).disabled = false;
  }
}

function show(game_name, result) {
  const listing = $('listing');
  listing.textContent = DISPLAY_DECODER.decode(result.stdout);
  last_run = { game: game_name, bytes: result.stdout };
  $('copy').disabled = $('download').disabled = false;
  let problems = DISPLAY_DECODER.decode(result.stderr);
  if (result.status !== 0) problems += 'Exit status ' + result.status + '\n';
  $('errors').textContent = problems;
  $('problems').hidden = problems === '';
  listing.dataset.exitStatus = String(result.status);
}

function list_chosen() {
  const game = chosen_game();
  if (!game) {
    $('status').textContent = games.size > 1 ? 'Pick a game first.' : 'Choose planet files first.';
    $('game').disabled ? $('files').focus() : $('game').focus();
    return;
  }
  list(game.name, '/game', game.files);
}

function download() {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([last_run.bytes], { type: 'text/plain' }));
  link.download = last_run.game + '-listing.txt';
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
}

async function copy() {
  const text = $('listing').textContent;
  try {
    await navigator.clipboard.writeText(text);
  } catch (error) {
    // Without the clipboard API (some browsers from file://): select it.
    getSelection().selectAllChildren($('listing'));
    document.execCommand('copy');
  }
  $('status').textContent = 'Copied the listing.';
}

// The files of a dropped folder, and of the folders in it.
async function entry_files(entry) {
  if (entry.isFile) return [await new Promise((ok, fail) => entry.file(ok, fail))];
  const reader = entry.createReader();
  const files = [];
  for (;;) {
    const batch = await new Promise((ok, fail) => reader.readEntries(ok, fail));
    if (batch.length === 0) return files;
    for (const child of batch) files.push(...(await entry_files(child)));
  }
}

async function drop(event) {
  event.preventDefault();
  $('drop').classList.remove('over');
  const entries = [...event.dataTransfer.items]
    .map((item) => item.webkitGetAsEntry && item.webkitGetAsEntry())
    .filter(Boolean);
  const files = entries.length > 0
    ? (await Promise.all(entries.map(entry_files))).flat()
    : [...event.dataTransfer.files];
  choose_files(files);
}

function start() {
  load_limits();
  $('files').addEventListener('change', (event) => choose_files([...event.target.files]));
  $('folder').addEventListener('change', (event) => choose_files([...event.target.files]));
  $('run').addEventListener('click', list_chosen);
  $('example').addEventListener('click', () => list(EXAMPLE_GAME, EXAMPLE_DIR, []));
  $('download').addEventListener('click', download);
  $('copy').addEventListener('click', copy);
  for (const id of LIMIT_IDS) {
    $(id).addEventListener('change', save_limits);
    $(id).addEventListener('keydown', (event) => event.key === 'Enter' && list_chosen());
  }
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    $('drop').classList.add('over');
  });
  document.addEventListener('dragleave', () => $('drop').classList.remove('over'));
  document.addEventListener('drop', drop);
}

start();
