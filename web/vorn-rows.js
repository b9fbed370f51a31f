// The table's rows: only those in sight, and a few around them, are in the
// page, the tbody's padding standing for the others, in the order the sort
// gives. The cells of the listing shown are kept here, taken in a chunk
// at a time; their order comes from the worker, which keeps the rows too
// (vorn-worker.js).
'use strict';
/* global $, counted, next_task, display_text, shown_order, row_is_new */
/* exported show_table, draw_table, mark_new_rows, stop_table, clear_table, mark_seen_rows, step_rows */

// Rows rendered beyond those in sight, above and below, so that scrolling
// doesn't show a blank row before the page draws it.
const ROWS_AROUND = 60;
// The height of every row of the table, as vorn-page.css sets it.
const ROW_HEIGHT_REM = 1.7;

// The listing's table while shown: { chunks, per_chunk, count, ready,
// limit, places }: its cells as taken in so far, in chunks of per_chunk
// rows, five cells a row; how many rows it has, and how many are taken
// in; how many it shows (fewer once stopped); and the order they are shown
// in, as their places in the listing (null: the listing's own).
let table = null;
let filling = 0; // bumped to stop the taking in of an older listing
// The places of the rows in the tbody, { first, last } (the last not in
// it), while they show what they should: null once the order or the
// cells change.
let placed = null;
// A row is a copy of this one, its five cells' text set: copying is the
// cheapest way to make many elements.
let row_template = null;

function make_row(cells, first) {
  if (!row_template) {
    row_template = document.createElement('tr');
    row_template.setAttribute('role', 'row');
    // Focused by a tap or by the arrow keys (step_rows), not by Tab, which
    // would otherwise stop at every row.
    row_template.tabIndex = -1;
    for (let i = 0; i < 5; i++) {
      const td = document.createElement('td');
      td.setAttribute('role', 'cell');
      td.append('');
      row_template.append(td);
    }
  }
  const row = row_template.cloneNode(true);
  for (let i = 0; i < 5; i++) row.cells[i].firstChild.data = cells ? cells[first + i] : '';
  // The whole name, where the cell is too narrow for it.
  row.cells[1].title = row.cells[1].firstChild.data;
  return row;
}

// The row shown at `place`: empty while its cells are still to come. Its
// aria-rowindex counts the header's row first.
function row_at(place) {
  const at = table.places ? table.places[place] : place;
  const row = at >= table.ready ? make_row(null, 0) :
    make_row(table.chunks[Math.floor(at / table.per_chunk)], (at % table.per_chunk) * 5);
  row.setAttribute('aria-rowindex', String(place + 2));
  // New since the last listing: the stylesheet labels it.
  if (row_is_new(at)) row.dataset.new = '';
  return row;
}

// Shows the listing's `count` rows, whose cells come in `chunks` of the
// listing's bytes, five a row, each ended by a NUL; splitting them takes
// the page's thread, so each chunk is decoded and split in a task of its
// own, `progress(rows)` after each, and Cancel can come in between.
// Resolves to true once every row is in, or false where it is stopped
// first.
async function show_table(chunks, count, progress) {
  const mine = ++filling;
  table = { chunks: [], per_chunk: 0, count, ready: 0, limit: count, places: null };
  $('table-area').hidden = count === 0;
  $('table').setAttribute('aria-busy', 'true');
  $('table').setAttribute('aria-rowcount', String(count + 1));
  for (let i = 0; i < chunks.length; i++) {
    const cells = display_text(chunks[i]).split('\0');
    table.per_chunk = table.per_chunk || (cells.length - 1) / 5;
    table.chunks.push(cells);
    table.ready += (cells.length - 1) / 5;
    progress(table.ready);
    // The table shows as soon as its first rows are in; a row in sight of
    // a chunk still to come fills as the table scrolls, or at the end.
    if (i === 0) draw_table(shown_order());
    if (i + 1 === chunks.length) break;
    await next_task();
    if (mine !== filling) return false;
  }
  $('table').removeAttribute('aria-busy');
  if (chunks.length > 1) draw_table(table.places);
  return true;
}

// Shows the rows in `order`, their places in the listing (null for its
// own); once stopped, only those taken in.
function draw_table(order) {
  if (!table) return;
  const stopped = table.limit < table.count;
  table.places = order && stopped ? order.filter((at) => at < table.limit) : order;
  placed = null;
  mark_seen_rows();
}

// Stops taking in the table's rows where it is: those in stay, and a sort
// shows as many. Gives how many rows are in.
function stop_table() {
  filling += 1;
  $('table').removeAttribute('aria-busy');
  table.limit = table.ready;
  $('table').setAttribute('aria-rowcount', String(table.limit + 1));
  $('table-stopped').textContent = ': stopped at ' + table.limit.toLocaleString('en-US') + ' of ' +
    counted(table.count, 'row');
  draw_table(table.places);
  return table.limit;
}

// Marks the rows in the page as new or not again, as after the news came:
// the rows stay, and so does the focus on one of them.
function mark_new_rows() {
  if (!table || !placed) return;
  const rows = $('rows').rows;
  for (let i = 0; i < rows.length; i++) {
    const place = placed.first + i;
    rows[i].toggleAttribute('data-new', row_is_new(table.places ? table.places[place] : place));
  }
}

function clear_table() {
  table = null;
  placed = null;
  filling += 1;
  $('table-stopped').textContent = '';
  $('rows').replaceChildren();
  $('rows').style.padding = '';
  $('table').removeAttribute('aria-busy');
  $('table').removeAttribute('aria-rowcount');
  $('table-area').hidden = true;
}

function row_height() {
  return parseFloat(getComputedStyle(document.documentElement).fontSize) * ROW_HEIGHT_REM;
}

// Puts the rows in sight in the table's box, and a few around them, in
// the tbody, in place of those that were; its padding stands for the
// others. Every row is one line high.
function mark_seen_rows() {
  if (!table) return;
  const box = document.querySelector('.table-scroll');
  const body = $('rows');
  const height = row_height();
  const shown = table.limit;
  // How far the first row is above the top of the box, as it scrolls.
  const top = box.getBoundingClientRect().top - body.getBoundingClientRect().top;
  const first = Math.min(shown, Math.max(0, Math.floor(top / height) - ROWS_AROUND));
  const last = Math.min(shown, Math.ceil((top + box.clientHeight) / height) + ROWS_AROUND);
  const focused = document.activeElement.parentElement === body;
  place_rows(body, first, last);
  body.style.paddingTop = first * height + 'px';
  body.style.paddingBottom = (shown - last) * height + 'px';
  // A focused row scrolled far out of sight is no longer in the page: the
  // focus goes to the table's box rather than to the page's body.
  if (focused && document.activeElement === document.body) box.focus({ preventScroll: true });
}

// The rows of the places from `first` to `last` in `body`, those already
// there kept: a row that holds the focus stays as the table scrolls.
function place_rows(body, first, last) {
  const rows = (from, to) => {
    const fragment = document.createDocumentFragment();
    for (let place = from; place < to; place++) fragment.append(row_at(place));
    return fragment;
  };
  if (!placed || placed.last <= first || placed.first >= last) {
    body.replaceChildren(rows(first, last));
  } else {
    for (let place = placed.first; place < first; place++) body.firstElementChild.remove();
    for (let place = last; place < placed.last; place++) body.lastElementChild.remove();
    body.prepend(rows(first, placed.first));
    body.append(rows(placed.last, last));
  }
  placed = { first, last };
}

// The row at the top of the box, below its sticky headers.
function row_in_sight() {
  const box = document.querySelector('.table-scroll');
  const body = $('rows');
  const top = box.getBoundingClientRect().top - body.getBoundingClientRect().top + $('table').tHead.offsetHeight;
  return body.rows[Math.min(body.rows.length - 1, Math.max(0, Math.ceil(top / row_height()) - (placed ? placed.first : 0)))] || null;
}

// The arrow keys step from row to row in the table's box, each row showing
// its whole name as it takes the focus; from the box itself, or a header,
// they go to the row at its top. A row next to the focused one is always
// in the page.
function step_rows(event) {
  const step = { ArrowDown: 'nextElementSibling', ArrowUp: 'previousElementSibling' }[event.key];
  const at = document.activeElement;
  const next = !step ? null : at.parentElement === $('rows') ? at[step] : row_in_sight();
  if (!next) return;
  event.preventDefault();
  next.focus();
}
