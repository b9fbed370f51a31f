// The page around the program: it picks the planet files, has the program's
// own main() list them in a worker (vorn-worker.js, around vorn-web.js,
// built from the same sources as every other vorn), and shows the bytes it
// printed, with a table read back from them.
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
// The CSV keeps the program's bytes, as Download does: each character of
// the listing as shown (windows-1252, as the worker decodes it) back to its
// byte.
const DISPLAY_BYTES = new Map(
  [...new TextDecoder('windows-1252').decode(Uint8Array.from({ length: 256 }, (_, i) => i))].map((char, byte) => [
    char,
    byte,
  ]),
);
// How long drawing may hold the page before it lets the browser show a
// frame: well within the tenth of a second in which a page still feels
// responsive, even on a busy machine. And how many rows a piece of the
// table holds.
const DRAW_BUDGET_MS = 10;
const ROWS_PER_PIECE = 100;
// Rows rendered beyond those in sight, above and below, so that scrolling
// doesn't show a blank row before the page marks it.
const ROWS_AROUND = 60;
// The height of every row of the table, as vorn-page.css sets it.
const ROW_HEIGHT_REM = 1.7;

let games = new Map(); // lower-case base name -> { name, files: [File] }
let folder = null; // the kept directory handle, when a folder is chosen
let picker = 'files'; // the id of the picker the files came from
let last_run = null; // { game, bytes, rows } of the listing shown
let worker = null;
let running = null; // { resolve } of the listing in progress
// Whether the worker can read the chosen files itself: WebKit's worker
// can't for a page opened from file://, and is then given their contents.
let worker_reads_files = true;
let drawing = 0; // bumped to stop the drawing of an older listing

function $(id) {
  return document.getElementById(id);
}

// The program matches names ignoring ASCII case only.
function ascii_lower(text) {
  return text.replace(/[A-Z]/g, (letter) => letter.toLowerCase());
}

function file_number(file) {
  return Number(PLANET_FILE.exec(file.name)[2]);
}

function add_line(parent, text) {
  const line = document.createElement('p');
  line.textContent = text;
  parent.append(line);
}

// Groups the files by game and offers each in the menu, keeping the game
// picked before if it is still there; a name that is not a planet file, or
// the same name a second time (from two folders), is named as ignored.
function show_games(files, where) {
  const kept = $('game').value;
  games = new Map();
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
    if (!games.has(key)) games.set(key, { name: match[1], files: [] });
    games.get(key).files.push(file);
  }
  const select = $('game');
  select.replaceChildren();
  const report = $('found');
  report.replaceChildren();
  if (where) add_line(report, where);
  if (games.size > 1) {
    select.append(new Option('Pick one of ' + games.size + ' games', ''));
  } else if (games.size === 0) {
    select.append(new Option('No game among these files', ''));
  }
  for (const game of games.values()) {
    // Each game's base name as its first file spells it.
    game.files.sort((a, b) => file_number(a) - file_number(b));
    game.name = PLANET_FILE.exec(game.files[0].name)[1];
    const numbers = game.files.map(file_number).join(', ');
    select.append(new Option(game.name + ' (files ' + numbers + ')', game.name));
    add_line(report, 'Game ' + game.name + ': files ' + numbers);
  }
  if (ignored.length > 0) add_line(report, 'Ignored: ' + ignored.join(', '));
  select.disabled = games.size === 0;
  select.selectedIndex = 0;
  if (kept && games.has(ascii_lower(kept))) select.value = games.get(ascii_lower(kept)).name;
}

function choose_files(input) {
  folder = null;
  forget_folder();
  picker = input.id;
  show_games([...input.files]);
}

// --- A folder that stays chosen (browsers with showDirectoryPicker) -----

// The kept handle lives in IndexedDB, the one store that can hold it, so
// that the next visit lists the same folder.
function folder_store(mode, action) {
  return new Promise((resolve) => {
    let open;
    try {
      open = indexedDB.open('vorn', 1);
    } catch (error) {
      return resolve(undefined);
    }
    open.onupgradeneeded = () => open.result.createObjectStore('kept');
    open.onerror = () => resolve(undefined);
    open.onsuccess = () => {
      const request = action(open.result.transaction('kept', mode).objectStore('kept'));
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => resolve(undefined);
    };
  });
}

function keep_folder(handle) {
  return folder_store('readwrite', (store) => store.put(handle, 'folder'));
}

function forget_folder() {
  return folder_store('readwrite', (store) => store.delete('folder'));
}

// The folder's files as they are now: every listing reads them afresh.
async function folder_files(handle) {
  const files = [];
  for await (const entry of handle.values()) {
    if (entry.kind === 'file' && PLANET_FILE.test(entry.name)) files.push(await entry.getFile());
  }
  return files;
}

// Whether the page may read the kept folder; asking needs a click, so only
// `ask` (from one) asks.
async function may_read(handle, ask) {
  const mode = { mode: 'read' };
  if ((await handle.queryPermission(mode)) === 'granted') return true;
  return ask && (await handle.requestPermission(mode)) === 'granted';
}

// Offers the kept folder's games as the folder is now. A folder that was
// moved or removed, or that the page may not read, offers none, and says
// what to do in a player's words.
async function read_folder(ask) {
  try {
    if (!(await may_read(folder, ask))) {
      show_games([], 'Game folder ' + folder.name + ': press "List planets" to let the page read it again.');
      return false;
    }
    show_games(await folder_files(folder), 'Game folder ' + folder.name + ', read as it is now at each listing.');
    return true;
  } catch (error) {
    show_games([], 'The game folder ' + folder.name + ' can no longer be read: choose it again.');
    return false;
  }
}

async function choose_folder() {
  let handle;
  try {
    handle = await showDirectoryPicker({ id: 'vorn-game', mode: 'read' });
  } catch (error) {
    return; // The player closed the picker.
  }
  folder = handle;
  $('files').value = $('folder').value = '';
  await keep_folder(handle);
  await read_folder(true);
}

// --- Running the program -------------------------------------------------

// The worker is made from the text of the module and of vorn_worker(), both
// loaded as the page's own scripts: no file is fetched, so this works from
// file:// too. It keeps a module ready for the next listing.
function start_worker() {
  const source = 'var _scriptDir;\nvar createVorn = ' + createVorn + ';\n(' + vorn_worker + ')();\n';
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  worker = new Worker(url);
  URL.revokeObjectURL(url);
  worker.onmessage = (event) => {
    const message = event.data;
    if (message.reading) {
      $('status').textContent = 'Listing: file ' + message.reading + ' of ' + message.of + '...';
    } else if (running) {
      running.resolve(message);
    }
  };
  worker.onerror = (event) => {
    event.preventDefault();
    if (running) running.resolve({ failed: true });
    restart_worker();
  };
}

function restart_worker() {
  worker.terminate();
  start_worker();
}

function run_vorn(job) {
  return new Promise((resolve) => {
    running = { resolve };
    // Contents are handed over, not copied.
    worker.postMessage(job, job.contents ? job.contents.map((file) => file.bytes.buffer) : []);
  });
}

function cancel() {
  if (!running) return;
  restart_worker();
  running.resolve({ cancelled: true });
}

// Whether a file can still be read as it was chosen. Chromium refuses to
// read one that changed (as after a new turn) or went, and the worker's
// read says so; Firefox reads pieces of it, but only up to the size it had
// when chosen, so there its size is taken from a read to the end, beside
// the listing. Only Chromium-based browsers have showDirectoryPicker.
const SIZE_MAY_BE_STALE = !('showDirectoryPicker' in window);

async function unchanged(file) {
  try {
    let size = 0;
    const pieces = file.stream().getReader();
    for (;;) {
      const { done, value } = await pieces.read();
      if (done) return size === file.size;
      size += value.length;
    }
  } catch (error) {
    return false;
  }
}

// Whether each file is unchanged. Reading a whole game would hold the page,
// so the files are read in a worker of their own, made, as the program's,
// from a function's text. A file that this worker can't read is read again
// by the page, whose answer counts: WebKit's workers can read no chosen
// file for a page opened from file://.
function files_unchanged(files) {
  const source = unchanged + '\nonmessage = async (event) => {\n  const answers = [];\n' +
    '  for (const file of event.data) answers.push(await unchanged(file));\n  postMessage(answers);\n};\n';
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  const checker = new Worker(url);
  URL.revokeObjectURL(url);
  return new Promise((resolve) => {
    checker.onmessage = (event) => resolve(event.data);
    checker.onerror = () => resolve(files.map(() => false));
    checker.postMessage(files);
  }).then((answers) => {
    checker.terminate();
    return Promise.all(answers.map((answer, i) => answer || unchanged(files[i])));
  });
}

function limits() {
  return LIMIT_IDS.map((id) => $(id).value);
}

function set_busy(busy) {
  for (const id of ['run', 'example']) $(id).disabled = busy;
  $('cancel').hidden = !busy;
}

function clear_result() {
  drawing += 1;
  const listing = $('listing');
  listing.removeAttribute('data-exit-status');
  listing.replaceChildren();
  $('rows').replaceChildren();
  $('table-area').hidden = true;
  $('problems').hidden = true;
  for (const id of ['copy', 'download', 'csv']) $(id).disabled = true;
  last_run = null;
}

async function list(game_name, job, checked_files) {
  clear_result();
  set_busy(true);
  save_limits();
  $('status').textContent = 'Listing ' + game_name + '...';
  const started = performance.now();
  // Picked files are checked beside the listing where their size may be
  // stale; the answers serve the worker that can't read them too.
  const checks = SIZE_MAY_BE_STALE && checked_files.length > 0 ? files_unchanged(checked_files) : null;
  const args = [game_name, ...limits()];
  let result = worker_reads_files || !job.files ? await run_vorn({ ...job, args }) : null;
  // The worker can't read a file: say which one changed; or, where the page
  // reads every one whole, as it was chosen, the worker can't read any of
  // them (WebKit's, for a page from file://) and gets their contents.
  if (job.files && (!result || result.unreadable)) {
    const answers = await (checks && job.files === checked_files ? checks : files_unchanged(job.files));
    const changed = answers.indexOf(false);
    if (changed >= 0) {
      result = { unreadable: job.files[changed].name };
    } else {
      worker_reads_files = false;
      const contents = await Promise.all(
        job.files.map(async (file) => ({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) })),
      );
      result = await run_vorn({ contents, args });
    }
  }
  running = null;
  if (checks && !result.cancelled && !result.failed && !result.unreadable) {
    const first = (await checks).indexOf(false);
    if (first >= 0) result = { unreadable: checked_files[first].name };
  }
  set_busy(false);
  const listing = $('listing');
  if (result.cancelled) {
    $('status').textContent = 'Cancelled: nothing was listed.';
    listing.dataset.exitStatus = 'cancelled';
  } else if (result.failed) {
    $('status').textContent = 'The page could not run Vorn this time: press "List planets" to try again.';
    listing.dataset.exitStatus = 'none';
  } else if (result.unreadable) {
    $('status').textContent =
      result.unreadable + ' has changed since you chose it, as after a new turn: choose the files again.';
    listing.dataset.exitStatus = 'none';
    $(picker).focus();
  } else {
    await show(game_name, result, () => {
      const seconds = ((performance.now() - started) / 1000).toFixed(2);
      $('status').textContent = 'Listed ' + game_name + ' in ' + seconds + ' s.';
    });
  }
}

async function list_chosen() {
  if (running) return;
  if (folder && !(await read_folder(true))) {
    $('status').textContent = $('found').textContent;
    $('choose-folder').focus();
    return;
  }
  const name = $('game').value;
  const game = name ? games.get(ascii_lower(name)) : undefined;
  if (!game) {
    if (folder) $('status').textContent = 'No game in the folder ' + folder.name + '.';
    else $('status').textContent = games.size > 1 ? 'Pick a game first.' : 'Choose planet files first.';
    $('game').disabled ? $(folder ? 'choose-folder' : 'files').focus() : $('game').focus();
    return;
  }
  // A folder's files were just read afresh; chosen ones are checked.
  list(game.name, { files: game.files }, folder ? [] : game.files);
}

// --- Showing the result --------------------------------------------------

function next_task() {
  return new Promise((resolve) => setTimeout(resolve, 0));
}

// Appends the pieces that `make_piece` makes to `parent`, giving the page
// back whenever drawing has taken its budget: a large listing is drawn over
// many frames instead of holding the page for the whole of it. `sliced` is
// called after each slice, with true after the first. Returns false when a
// newer listing or sort took over.
async function draw_in_pieces(parent, count, make_piece, sliced = () => {}) {
  const mine = drawing;
  let slice_start = performance.now();
  let first = true;
  for (let i = 0; i < count; i++) {
    if (performance.now() - slice_start > DRAW_BUDGET_MS) {
      sliced(first);
      first = false;
      await next_task();
      if (mine !== drawing) return false;
      slice_start = performance.now();
    }
    parent.append(make_piece(i));
  }
  sliced(first);
  return true;
}

// A row is a copy of this one, its five cells' text set: copying is the
// cheapest way to make many elements.
let row_template = null;

function make_row(cells) {
  if (!row_template) {
    row_template = document.createElement('tr');
    row_template.setAttribute('role', 'row');
    for (let i = 0; i < 5; i++) {
      const td = document.createElement('td');
      td.setAttribute('role', 'cell');
      td.append('');
      row_template.append(td);
    }
  }
  const row = row_template.cloneNode(true);
  for (let i = 0; i < 5; i++) row.cells[i].firstChild.data = cells[i];
  return row;
}

// Draws the rows in their order, a piece at a time; the table is busy
// until the last is in. `drawn` is called once the first slice is in.
async function draw_rows(rows, drawn) {
  const table = $('table');
  table.setAttribute('aria-busy', 'true');
  $('rows').replaceChildren();
  seen_rows = [];
  const complete = await draw_in_pieces($('rows'), Math.ceil(rows.length / ROWS_PER_PIECE), (i) => {
    const piece = document.createDocumentFragment();
    for (const row of rows.slice(i * ROWS_PER_PIECE, (i + 1) * ROWS_PER_PIECE)) piece.append(make_row(row));
    return piece;
  }, (first) => {
    if (!first) return pad_rows();
    mark_seen_rows();
    drawn();
  });
  if (!complete) return;
  table.removeAttribute('aria-busy');
  mark_seen_rows();
}

// Displays the rows in sight in the table's box, and a few around them,
// and hides the others that were; the tbody's padding takes the place of
// the rows above and below. Every row is one line high.
let seen_rows = [];
let seen_end = 0;
function row_height() {
  return parseFloat(getComputedStyle(document.documentElement).fontSize) * ROW_HEIGHT_REM;
}

function mark_seen_rows() {
  const box = document.querySelector('.table-scroll');
  const body = $('rows');
  const rows = body.rows;
  for (const row of seen_rows) row.classList.remove('seen');
  seen_rows = [];
  const height = row_height();
  // How far the first row is above the top of the box, as it scrolls.
  const top = box.getBoundingClientRect().top - body.getBoundingClientRect().top;
  const first = Math.min(rows.length, Math.max(0, Math.floor(top / height) - ROWS_AROUND));
  const last = Math.min(rows.length, Math.ceil((top + box.clientHeight) / height) + ROWS_AROUND);
  for (let i = first; i < last; i++) {
    rows[i].classList.add('seen');
    seen_rows.push(rows[i]);
  }
  body.style.paddingTop = first * height + 'px';
  seen_end = last;
  pad_rows();
}

// The padding below the seen rows, for rows added since they were marked:
// set without reading the layout, so that drawing a piece doesn't wait for
// the layout of the one before.
function pad_rows() {
  $('rows').style.paddingBottom = ($('rows').rows.length - seen_end) * row_height() + 'px';
}

// Shows a listing: its text, whole, then its table, of which as much as
// the budget allows is in when `shown` is called (all of it, but for a long
// listing) and the rest follows, a piece at a time. Each piece of the
// listing is laid out only when it comes into sight (content-visibility).
async function show(game_name, result, shown) {
  const cells = result.cells.split('\0');
  const rows = [];
  for (let i = 0; i + 5 < cells.length; i += 5) rows.push(cells.slice(i, i + 5));
  last_run = { game: game_name, bytes: result.stdout, rows };
  let problems = result.stderr;
  if (result.status !== 0) problems += 'Exit status ' + result.status + '\n';
  $('errors').textContent = problems;
  $('problems').hidden = problems === '';
  $('old-layout').textContent =
    result.old_layout.length === 0 ? '' : 'Not listed, as files of an older layout: ' + result.old_layout.join(', ');
  $('old-layout').hidden = result.old_layout.length === 0;
  $('table-area').hidden = rows.length === 0;
  for (const header of document.querySelectorAll('#table th')) header.removeAttribute('aria-sort');
  const listing = $('listing');
  const drawn = await draw_in_pieces(listing, result.pieces.length, (i) => {
    const piece = document.createElement('span');
    piece.className = 'piece';
    piece.textContent = result.pieces[i];
    return piece;
  });
  if (!drawn) return;
  await draw_rows(rows, () => {
    for (const id of ['copy', 'download', 'csv']) $(id).disabled = false;
    listing.dataset.exitStatus = String(result.status);
    shown();
  });
}

// --- Sorting the table ---------------------------------------------------

// A value as the program printed it, as a number: -INF first, +INF after
// every finite value, and NaNs, which have no place among numbers, last.
function sort_key(text) {
  if (/INF$/.test(text)) return text.startsWith('-') ? -Infinity : Infinity;
  const value = Number(text);
  return Number.isNaN(value) ? null : value;
}

const NAME_ORDER = new Intl.Collator(undefined, { numeric: true });

function compare(column, a, b) {
  if (column < 2) return NAME_ORDER.compare(a[column], b[column]);
  const x = sort_key(a[column]);
  const y = sort_key(b[column]);
  if (x === null || y === null) return (x === null) - (y === null);
  return x < y ? -1 : x > y ? 1 : 0;
}

// Sorts by a column, ascending, or the other way when it is sorted already.
// Equal values keep the listing's order.
async function sort_by(column) {
  if (!last_run) return;
  const header = document.querySelectorAll('#table th')[column];
  const descending = header.getAttribute('aria-sort') === 'ascending';
  const sign = descending ? -1 : 1;
  const order = last_run.rows.slice().sort((a, b) => sign * compare(column, a, b));
  for (const other of document.querySelectorAll('#table th')) other.removeAttribute('aria-sort');
  header.setAttribute('aria-sort', descending ? 'descending' : 'ascending');
  drawing += 1;
  await draw_rows(order, () => {});
}

// --- Saving --------------------------------------------------------------

function save(bytes, name, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
}

function download() {
  save(last_run.bytes, last_run.game + '-listing.txt', 'text/plain');
}

// RFC 4180: CR LF after every record, and a field with a comma, a quote or
// a line end in quotes, its quotes doubled. The table's rows in the
// listing's order, in the listing's own bytes.
function csv_field(text) {
  return /[",\r\n]/.test(text) ? '"' + text.replace(/"/g, '""') + '"' : text;
}

function download_csv() {
  const header = ['File', 'Planet', 'Gravity (g)', 'Temperature (°C)', 'Radiation (mR)'];
  const text = [header, ...last_run.rows].map((row) => row.map(csv_field).join(',') + '\r\n').join('');
  save(Uint8Array.from(text, (char) => DISPLAY_BYTES.get(char)), last_run.game + '-planets.csv', 'text/csv');
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

// --- Limits --------------------------------------------------------------

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

// --- Dropping files ------------------------------------------------------

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
  folder = null;
  forget_folder();
  picker = 'files';
  show_games(files);
}

// --- Start ---------------------------------------------------------------

// What the pickers hold after a reload (Firefox keeps chosen files), or the
// folder kept from an earlier visit.
async function restore_choice() {
  for (const id of ['files', 'folder']) {
    if ($(id).files.length > 0) return choose_files($(id));
  }
  if (!('showDirectoryPicker' in window)) return;
  const kept = await folder_store('readonly', (store) => store.get('folder'));
  if (!kept || folder || games.size > 0) return;
  folder = kept;
  await read_folder(false);
}

function start() {
  load_limits();
  start_worker();
  if ('showDirectoryPicker' in window) {
    $('folder-choice').hidden = false;
    $('choose-folder').addEventListener('click', choose_folder);
  } else {
    $('folder-choice').remove();
  }
  $('files').addEventListener('change', (event) => choose_files(event.target));
  $('folder').addEventListener('change', (event) => choose_files(event.target));
  $('run').addEventListener('click', list_chosen);
  $('example').addEventListener('click', () => list(EXAMPLE_GAME, { example: EXAMPLE_DIR }, []));
  $('cancel').addEventListener('click', cancel);
  $('download').addEventListener('click', download);
  $('csv').addEventListener('click', download_csv);
  $('copy').addEventListener('click', copy);
  document.querySelector('.table-scroll').addEventListener('scroll', mark_seen_rows, { passive: true });
  window.addEventListener('resize', mark_seen_rows);
  document.querySelectorAll('#table th button').forEach((button, column) =>
    button.addEventListener('click', () => sort_by(column)),
  );
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
  // Firefox puts the kept files back into the pickers as the page loads,
  // before this runs; a page taken back from the history cache is shown
  // again without running it.
  window.addEventListener('pageshow', (event) => event.persisted && games.size === 0 && restore_choice());
  restore_choice();
  // Installed, or opened over http(s), the page keeps its own files for
  // offline use; from file:// a service worker can't be registered, and
  // isn't needed.
  if ('serviceWorker' in navigator && location.protocol.startsWith('http')) {
    navigator.serviceWorker.register('vorn-sw.js').catch(() => {});
  }
}

start();
