// The table's rows: drawn a piece at a time in the order the sort gives,
// and only those in sight displayed, the tbody's padding standing for the
// others. The rows of the listing shown are kept here.
'use strict';
/* global $, draw_in_pieces, sorted, row_is_new */
/* exported show_table, draw_table, clear_table, mark_seen_rows, step_rows */

// How many rows a piece of the table holds.
const ROWS_PER_PIECE = 100;
// Rows rendered beyond those in sight, above and below, so that scrolling
// doesn't show a blank row before the page marks it.
const ROWS_AROUND = 60;
// The height of every row of the table, as vorn-page.css sets it.
const ROW_HEIGHT_REM = 1.7;

let table_rows = null; // the listing's rows, in its order, while shown
let filling = 0; // bumped to stop the drawing of an older order
let seen_rows = [];
let seen_end = 0;
// A row is a copy of this one, its five cells' text set: copying is the
// cheapest way to make many elements.
let row_template = null;

function make_row(cells) {
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
  for (let i = 0; i < 5; i++) row.cells[i].firstChild.data = cells[i];
  // The whole name, where the cell is too narrow for it.
  row.cells[1].title = cells[1];
  // New since the last listing: the stylesheet labels it.
  if (row_is_new(cells)) row.dataset.new = '';
  return row;
}

function show_table(rows) {
  table_rows = rows;
  $('table-area').hidden = rows.length === 0;
  draw_table();
}

// Draws the rows in the sort's order, a piece at a time, in place of any
// order drawn before; the table is busy until the last is in.
async function draw_table() {
  if (!table_rows) return;
  const mine = ++filling;
  const rows = sorted(table_rows);
  const table = $('table');
  table.setAttribute('aria-busy', 'true');
  $('rows').replaceChildren();
  seen_rows = [];
  const piece = (i) => {
    const fragment = document.createDocumentFragment();
    for (const row of rows.slice(i * ROWS_PER_PIECE, (i + 1) * ROWS_PER_PIECE)) fragment.append(make_row(row));
    return fragment;
  };
  await draw_in_pieces($('rows'), Math.ceil(rows.length / ROWS_PER_PIECE), piece,
    () => mine === filling, (first) => (first ? mark_seen_rows() : pad_rows()));
  if (mine !== filling) return;
  table.removeAttribute('aria-busy');
  mark_seen_rows();
}

function clear_table() {
  table_rows = null;
  filling += 1;
  seen_rows = [];
  $('rows').replaceChildren();
  $('table').removeAttribute('aria-busy');
  $('table-area').hidden = true;
}

function row_height() {
  return parseFloat(getComputedStyle(document.documentElement).fontSize) * ROW_HEIGHT_REM;
}

// Displays the rows in sight in the table's box, and a few around them,
// and hides the others that were. Every row is one line high.
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
  // A focused row scrolled far out of sight is no longer displayed: the
  // focus goes to the table's box rather than to the page's body.
  const at = document.activeElement;
  if (at.parentElement === body && !seen_rows.includes(at)) box.focus({ preventScroll: true });
}

// The row at the top of the box, below its sticky headers.
function row_in_sight() {
  const box = document.querySelector('.table-scroll');
  const body = $('rows');
  const top = box.getBoundingClientRect().top - body.getBoundingClientRect().top + $('table').tHead.offsetHeight;
  return body.rows[Math.min(body.rows.length - 1, Math.max(0, Math.ceil(top / row_height())))] || null;
}

// The arrow keys step from row to row in the table's box, each row showing
// its whole name as it takes the focus; from the box itself, or a header,
// they go to the row at its top. A row next to the focused one is always
// displayed.
function step_rows(event) {
  const step = { ArrowDown: 'nextElementSibling', ArrowUp: 'previousElementSibling' }[event.key];
  const at = document.activeElement;
  const next = !step ? null : at.parentElement === $('rows') ? at[step] : row_in_sight();
  if (!next) return;
  event.preventDefault();
  next.focus();
}

// The padding below the seen rows, for rows added since they were marked:
// set without reading the layout, so that drawing a piece doesn't wait for
// the layout of the one before.
function pad_rows() {
  $('rows').style.paddingBottom = ($('rows').rows.length - seen_end) * row_height() + 'px';
}
