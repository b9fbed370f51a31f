// A listing from the click to its table whole: the program run on the
// chosen game, the files read again where they changed, and the result
// shown. One listing at a time; the page stays busy until its table has
// every row, and Cancel, or the end, leaves the page as the status says.
'use strict';
/* global $, say, counted, limits, save_limits, mark_limits, clear_limit_marks, game_named, games_offered,
   not_planet_files, folder_chosen, read_folder, chosen_picker, SIZE_MAY_BE_STALE, MAX_CONTENTS_BYTES, file_sizes,
   contents_of, run_vorn, stop_program, draw_in_pieces, display_text, show_table, stop_table, clear_table, reset_sort,
   offer_saves, offer_csv, withdraw_saves, news_key, news_of, follow_news, clear_news, offer_choose_again,
   reveal_choose_again, withdraw_choose_again */
/* exported list_example, list_chosen, cancel */

// Built into the module's file system (web/CMakeLists.txt).
const EXAMPLE_DIR = '/example';
const EXAMPLE_GAME = 'duel';

// { game, started, from } of the listing in progress, and its table
// ({ status, count }) once its text is whole and its table fills.
let listing = null;
// Whether the worker can read the chosen files itself: WebKit's worker
// can't for a page opened from file://, and is then given their contents.
let worker_reads_files = true;

// The focus, on a control that the listing turns off or hides, moves to
// Cancel: a keyboard keeps its place, and it never falls to the page's body.
function set_busy(busy) {
  const at = document.activeElement;
  const pressed = ['run', 'example', 'copy', 'download', 'csv', 'choose-again'].includes(at.id) ||
    $('table-area').contains(at) || $('news-area').contains(at);
  for (const id of ['run', 'example']) $(id).disabled = busy;
  $('cancel').hidden = !busy;
  if (busy && pressed) $('cancel').focus();
}

// The focus goes to `id`, where the player acts next, unless they have
// moved it since the listing began (`from`), to a control of their own.
function focus_next(id, from) {
  const at = document.activeElement;
  if (!at || at === from || at === document.body || ['run', 'example', 'cancel'].includes(at.id)) $(id).focus();
}

function clear_result() {
  const shown = $('listing');
  shown.removeAttribute('data-exit-status');
  shown.replaceChildren();
  clear_table();
  clear_news();
  withdraw_choose_again();
  $('problems').hidden = true;
  clear_limit_marks();
  withdraw_saves();
}

// The listing's end, whatever it was: `exit_status` for #listing's
// data-exit-status, what the status then says, and the id of the control
// where the player acts next.
function end_listing(exit_status, text, next) {
  const from = listing.from;
  listing = null;
  set_busy(false);
  say(text);
  $('listing').dataset.exitStatus = exit_status;
  focus_next(next, from);
}

// Cancel stops the program, or, once the listing's text is whole, the
// drawing of its table: the listing, Copy and Download then stay.
function cancel() {
  if (!listing) return;
  if (listing.table) {
    const { status, count } = listing.table;
    const text = 'Cancelled: the table stopped at ' + stop_table().toLocaleString('en-US') + ' of ' +
      counted(count, 'row') + '; the listing is whole.';
    end_listing(status, text, 'listing');
    return;
  }
  stop_program();
  clear_result();
  end_listing('cancelled', 'Cancelled: nothing was listed.', 'run');
}

// Lists a game: `job` as the worker takes it (vorn-worker.js), less the
// arguments; `check` where the chosen files may have changed unseen;
// `keys` the game's, { news, limits }, under which its listings
// (vorn-news.js) and its limits (vorn-limits.js) are kept.
async function list(game_name, job, check, keys) {
  if (listing) return;
  const from = document.activeElement;
  set_busy(true);
  clear_result();
  save_limits(keys.limits);
  say('Listing ' + game_name + '...');
  const mine = (listing = { game: game_name, started: performance.now(), from, news: keys.news, limits: limits() });
  const args = [game_name, ...mine.limits];
  // Sizes are checked beside the listing where they may be stale; the
  // answers serve the worker that can't read the files too.
  const sizes = check && SIZE_MAY_BE_STALE ? file_sizes(job.files) : null;
  let result = worker_reads_files || !job.files ? await run_vorn({ ...job, args }, progress) : null;
  if (job.files && listing === mine) result = await files_as_now(job.files, result, sizes, args, mine);
  if (listing !== mine) return;
  if (result.failed) {
    end_listing('none', 'The page could not run Vorn this time: press "List planets" to try again.', 'run');
  } else if (result.unreadable) {
    offer_choose_again();
    end_listing('none', turn_text(result.unreadable), 'choose-again');
    reveal_choose_again();
  } else await show_result(mine, result);
}

// What a new turn did to the chosen files, in the words of the player's
// choice, and that added files are not seen: the browser hands the page
// only the files chosen.
function turn_text(files) {
  const kind = chosen_picker();
  const what = files.map((file) => file.name + file.how);
  const named = what.length > 1 ? what.slice(0, -1).join(', ') + ' and ' + what[what.length - 1] : what[0];
  return 'Not listed: since you chose ' + (kind === 'folder' ? 'the folder, ' : 'the files, ') + named +
    ', as after a new turn. Choose the ' + kind + ' again: files added since you chose ' +
    (kind === 'folder' ? 'it' : 'them') + ' are not seen.';
}

function progress(message) {
  say('Listing: file ' + message.reading + ' of ' + message.of + '...');
}

// The result for the files as they are now. Where a file changed and the
// browser reads it whole (Firefox), the game's contents are read and
// listed, up to MAX_CONTENTS_BYTES; where the worker can't read the files
// but they are as chosen (WebKit's, for a page from file://), it gets
// their contents too. A changed file that can't be read is named.
async function files_as_now(files, result, sizes, args, mine) {
  const read = result && !result.unreadable;
  if (read && !sizes) return result;
  const now = await (sizes || file_sizes(files));
  const changed = now.findIndex((size, i) => size !== files[i].size);
  if (changed < 0 && read) return result;
  const readable = now.every((size) => typeof size === 'number') &&
    now.reduce((sum, size) => sum + size, 0) <= MAX_CONTENTS_BYTES;
  const contents = listing === mine && (changed < 0 || readable) ? await contents_of(files) : null;
  if (!contents) return { unreadable: changed_files(files, now, changed) };
  /* c8 ignore start -- WebKit's worker alone can't read the chosen files (from file://) */
  if (changed < 0) worker_reads_files = false;
  /* c8 ignore stop */
  return listing === mine ? run_vorn({ contents, args }, progress) : result;
}

// The files that changed or went, each { name, how }, by their sizes now
// (file_sizes); the first file where none seems to (it was refused).
function changed_files(files, now, changed) {
  const how = (size) => (size === 'deleted' ? ' was deleted' : size === null ? ' has changed or was deleted' : ' has changed');
  const named = files.map((file, i) => ({ name: file.name, how: how(now[i]), changed: now[i] !== file.size }));
  return changed < 0 ? named.slice(0, 1) : named.filter((file) => file.changed);
}

// Shows a listing: its text, whole, a piece at a time, each piece after the
// first laid out only when it comes into sight (content-visibility); then
// its table, the status counting its rows as they are drawn, and "Listed"
// once all are in and the news too.
async function show_result(mine, result) {
  // Compared, in a worker, as the listing is drawn; a run the program
  // refused lists nothing to compare.
  const news = result.status === 0 ? follow_news(news_of(mine.news, mine.game, mine.limits, result.cells)) : null;
  show_problems(result);
  reset_sort();
  mark_limits(result.ranges);
  const piece = (i) => {
    const span = document.createElement('span');
    span.className = 'piece';
    span.textContent = display_text(result.stdout.subarray(result.pieces[i], result.pieces[i + 1]));
    return span;
  };
  await draw_in_pieces($('listing'), result.pieces.length - 1, piece, () => listing === mine);
  // Cancel may have come between the last piece and this.
  if (listing !== mine) return;
  offer_saves({ game: mine.game, bytes: result.stdout });
  mine.table = { status: String(result.status), count: result.count };
  const of = ' of ' + counted(result.count, 'row');
  const drawn = (count) => say('Table: ' + count.toLocaleString('en-US') + of);
  if (!(await show_table(result.cells, result.count, drawn)) || listing !== mine) return;
  offer_csv();
  // Once the page says "Listed", nothing on it moves.
  await news;
  if (listing !== mine) return;
  const seconds = ((performance.now() - mine.started) / 1000).toFixed(2);
  const text = 'Listed ' + mine.game + ': ' + counted(result.count, 'planet') + ' in ' + counted(result.files, 'file');
  end_listing(mine.table.status, text + ', in ' + seconds + ' s', 'listing');
}

// What the program wrote to stderr, its exit status, and what it printed
// for each file it refused, as it printed it.
function show_problems(result) {
  let problems = result.stderr;
  if (result.status !== 0) problems += 'Exit status ' + result.status + '\n';
  $('errors').textContent = problems;
  $('problems').hidden = problems === '';
  const refused = result.refused;
  $('old-layout').textContent = refused.length === 0 ? '' : 'Not listed: ' + refused.join('\n');
  $('old-layout').hidden = refused.length === 0;
}

function list_example() {
  list(EXAMPLE_GAME, { example: EXAMPLE_DIR }, false,
    { news: news_key(true, '', EXAMPLE_GAME), limits: 'example:' + EXAMPLE_GAME });
}

async function list_chosen() {
  if (listing) return;
  const folder = folder_chosen();
  const problem = folder ? await read_folder(true) : '';
  if (problem) {
    say(problem);
    $('choose-folder').focus();
    return;
  }
  const game = game_named($('game').value);
  if (!game) {
    if (folder) say('No game in the folder ' + folder.name + '.');
    else if (games_offered() > 1) say('Pick a game first.');
    else say(not_planet_files() || 'Choose planet files first.');
    $(games_offered() === 0 ? (folder ? 'choose-folder' : 'files') : 'game').focus();
    return;
  }
  // A folder's files were just read afresh; chosen ones are checked.
  const news = news_key(false, folder ? folder.name : game.folder, game.name);
  list(game.name, { files: game.files }, !folder, { news, limits: game.name.toLowerCase() });
}
