// A turn's news: the rows of each game's last listing, kept on this device
// only, with the limits they were listed with, and which planets of the
// listing shown are new since then. The marks come from comparing two of
// the program's own listings; they go on the table only.
'use strict';
/* global $, mark_new_rows, ask_apart */
/* exported news_key, news_of, follow_news, row_is_new, fresh_rows, clear_news, forget_news */

// The kept listings live in IndexedDB, which holds a large game's rows
// where localStorage would refuse them; a database of their own, apart
// from the kept folder's.
const NEWS_DB = 'vorn-news';
const NEWS_STORE = 'listings';

let fresh = new Set(); // the places in the listing shown of the rows that are new
let showing = 0; // bumped as a listing is cleared, so that its news is not shown

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
      /* c8 ignore next 2 -- where the page may keep nothing (Firefox's file:// with storage off, say) */
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

// What is new in a listing since an earlier one, both given as the table's
// cells as the program's worker hands them (chunks of the listing's bytes,
// each cell ended by a NUL): whether they are the same, the places of the
// rows new, and the planets no longer listed, each its file and name
// joined with NUL (a planet line is known by those two). The text of the
// comparing worker: it may use nothing from elsewhere.
function compare_listings(before, after) {
  const decoder = new TextDecoder('windows-1252');
  const text = (chunks) => chunks.map((chunk) => decoder.decode(chunk)).join('');
  const keys = (joined) => {
    const cells = joined.split('\0');
    const found = [];
    for (let i = 0; i + 5 < cells.length; i += 5) found.push(cells[i] + '\0' + cells[i + 1]);
    return found;
  };
  const [was_text, now_text] = [text(before), text(after)];
  if (was_text === now_text) return { same: true, fresh: [], gone: [] };
  const [was, now] = [keys(was_text), keys(now_text)];
  const [was_set, now_set] = [new Set(was), new Set(now)];
  const fresh = [];
  now.forEach((key, i) => was_set.has(key) || fresh.push(i));
  return { same: false, fresh, gone: was.filter((key) => !now_set.has(key)) };
}

function compare_worker() {
  self.onmessage = (event) => self.postMessage(compare_listings(event.data.before, event.data.after));
}

// Compares two listings in a worker of its own, made, as the program's,
// from functions' text: a game's every planet would hold the page for
// seconds.
function compare_apart(before, after) {
  const source = compare_listings + '\n' + compare_worker + '\ncompare_worker();\n';
  // Where the worker fails, nothing is marked.
  return ask_apart(source, { before, after }, { same: false, fresh: [], gone: [] });
}

function row_is_new(place) {
  return fresh.has(place);
}

function fresh_rows() {
  return [...fresh];
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
// marked for a first listing or other limits. Resolves to what it says,
// and the places of the rows to mark.
async function news_of(key, game, limits, cells) {
  const kept = await news_store('readonly', (store) => store.get(key));
  let news = { fresh: [], gone: [] };
  let text;
  let same = false;
  const same_limits = kept && JSON.stringify(kept.limits) === JSON.stringify(limits);
  if (!kept) text = 'First listing of ' + game + ' kept on this device: the next one with the same limits marks' +
    ' the planets that are new.';
  else if (!same_limits) text = 'Nothing marked: the last listing of ' + game + ' kept had other limits (' +
    kept.limits.join(', ') + '). This one is kept for the next.';
  else {
    const compared = await compare_apart(kept.cells, cells);
    same = compared.same;
    news = same ? kept.news : { fresh: compared.fresh, gone: compared.gone };
    text = news_text(game, news);
  }
  if (!same) await news_store('readwrite', (store) => store.put({ limits, cells, news }, key));
  return { text, fresh: news.fresh };
}

// Shows the news of the listing shown: at once, that it is being compared,
// so that Copy and Download below it are in their place before they are
// offered, and don't jump under the pointer when the news comes; then what
// it says, marking the rows already drawn, as the listing and its table
// don't wait for it. Resolves once shown. News that comes after the next
// listing has begun is not shown.
function follow_news(news) {
  const mine = showing;
  $('news').textContent = 'Comparing with the last listing kept on this device...';
  $('new-first').hidden = true;
  $('news-area').hidden = false;
  return news.then((known) => {
    if (mine !== showing) return;
    fresh = new Set(known.fresh);
    $('news').textContent = known.text;
    $('new-first').hidden = fresh.size === 0;
    mark_new_rows();
  });
}

function clear_news() {
  showing += 1;
  fresh = new Set();
  $('news-area').hidden = true;
}

// Forgets every listing kept, and the marks of the one shown.
async function forget_news() {
  fresh = new Set();
  $('new-first').hidden = true;
  mark_new_rows();
  await news_store('readwrite', (store) => store.clear());
  $('news').textContent = 'Forgot every listing kept on this device: the next listing of a game is a first one.';
}
