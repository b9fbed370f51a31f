// A turn's news: the rows of each game's last listing, kept on this device
// only, with the limits they were listed with, and which planets of the
// listing shown are new since then. The marks come from comparing two of
// the program's own listings; they go on the table only.
'use strict';
/* global $, draw_table */
/* exported news_key, show_news, row_is_new, clear_news, forget_news */

// The kept listings live in IndexedDB, which holds a large game's rows
// where localStorage would refuse them; a database of their own, apart
// from the kept folder's.
const NEWS_DB = 'vorn-news';
const NEWS_STORE = 'listings';

let fresh = new Set(); // the rows of the listing shown that are new

// Where a game's listings are kept: the example game apart from a player's,
// and a player's by the folder's name where the page knows it. Names are
// compared ignoring ASCII case, as the program finds a game's files.
function news_key(example, folder, game) {
  const lower = (text) => text.replace(/[A-Z]/g, (letter) => letter.toLowerCase());
  return JSON.stringify([example ? 'example' : 'player', folder || '', lower(game)]);
}

function news_store(mode, action) {
  return new Promise((resolve) => {
    let open;
    try {
      open = indexedDB.open(NEWS_DB, 1);
    } catch {
      /* c8 ignore next -- where the page may keep nothing (Firefox's file:// with storage off, say) */
      return resolve(undefined);
    }
    open.onupgradeneeded = () => open.result.createObjectStore(NEWS_STORE);
    open.onerror = () => resolve(undefined);
    open.onsuccess = () => {
      const request = action(open.result.transaction(NEWS_STORE, mode).objectStore(NEWS_STORE));
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => resolve(undefined);
    };
  });
}

// A planet line is known by its file and its planet's name.
function row_key(row) {
  return row[0] + '\0' + row[1];
}

// What is new in `rows` since the listing whose table cells, as the worker
// joins them, were `before`, and what is no longer listed. Uses nothing
// from elsewhere, so that a worker could run it.
function compare_listings(before, rows) {
  const cells = before.split('\0');
  const was = new Set();
  for (let i = 0; i + 5 < cells.length; i += 5) was.add(cells[i] + '\0' + cells[i + 1]);
  const now = new Set(rows.map((row) => row[0] + '\0' + row[1]));
  return { fresh: [...now].filter((key) => !was.has(key)), gone: [...was].filter((key) => !now.has(key)) };
}

function row_is_new(row) {
  return fresh.has(row);
}

// What a planet that is no longer listed is called: its name, then its file.
function planet_named(key) {
  const [file, planet] = key.split('\0');
  return '"' + planet + '" (' + file + ')';
}

function plural(count, one) {
  return count.toLocaleString('en') + ' ' + one + (count === 1 ? '' : 's');
}

// What the kept news says, for a listing of `game` with its limits.
function news_text(game, news) {
  if (news.fresh.length === 0 && news.gone.length === 0) {
    return 'Nothing new: the same planets as the last listing of ' + game + ' with these limits.';
  }
  let text = plural(news.fresh.length, 'planet') + ' new since the last listing of ' + game +
    ' with these limits' + (news.fresh.length > 0 ? ', marked "New".' : '.');
  if (news.gone.length > 0) text += ' No longer listed: ' + news.gone.map(planet_named).join(', ') + '.';
  return text;
}

// The news of a listing: compared with the last one kept for `key` where
// the limits are the same and the rows differ; kept as it was where the
// rows are the same, so that listing twice in a turn keeps it; nothing
// marked for a first listing or other limits. Resolves once the rows to
// mark are known, before the table is drawn.
async function show_news(key, game, limits, cells, rows) {
  const kept = await news_store('readonly', (store) => store.get(key));
  let news = { fresh: [], gone: [] };
  let text;
  const same_limits = kept && JSON.stringify(kept.limits) === JSON.stringify(limits);
  if (!kept) text = 'First listing of ' + game + ' kept on this device: the next one with the same limits marks' +
    ' the planets that are new.';
  else if (!same_limits) text = 'Nothing marked: the last listing of ' + game + ' kept had other limits (' +
    kept.limits.join(', ') + '). This one is kept for the next.';
  else {
    news = kept.cells === cells ? kept.news : compare_listings(kept.cells, rows);
    text = news_text(game, news);
  }
  if (!same_limits || kept.cells !== cells) await news_store('readwrite', (store) => store.put({ limits, cells, news }, key));
  const keys = new Set(news.fresh);
  fresh = new Set(rows.filter((row) => keys.has(row_key(row))));
  $('news').textContent = text;
  $('new-first').hidden = fresh.size === 0;
  $('news-area').hidden = false;
}

function clear_news() {
  fresh = new Set();
  $('news-area').hidden = true;
}

// Forgets every listing kept, and the marks of the one shown.
async function forget_news() {
  fresh = new Set();
  $('new-first').hidden = true;
  draw_table();
  await news_store('readwrite', (store) => store.clear());
  $('news').textContent = 'Forgot every listing kept on this device: the next listing of a game is a first one.';
}
