// Sorting the table by a column: the order chosen is kept here, and the
// headers' aria-sort only says it, once the rows are shown in it. The
// worker, which keeps the rows, sorts them, and gives back only their
// order.
'use strict';
/* global ask_program, draw_table, fresh_rows */
/* exported NEW_FIRST, sort_by, reset_sort, shown_order */

// The worker's key past the table's five that puts the planets new since
// the last listing first (vorn-news.js).
const NEW_FIRST = 5;

// The order chosen, { column, descending }: a column of the table, or a
// key of the worker's own (vorn-worker.js, sort_keys) past the five.
let sort = null;
let order = null; // the worker's answer for it: the rows' places in the listing
let asking = 0; // bumped to drop the answer to an older sort

function show_sort() {
  document.querySelectorAll('#table th').forEach((header, column) => {
    if (sort && column === sort.column) header.setAttribute('aria-sort', sort.descending ? 'descending' : 'ascending');
    else header.removeAttribute('aria-sort');
  });
}

// Sorts by a column, ascending, or the other way when it is sorted already;
// the new planets always come first.
async function sort_by(column) {
  const descending = column !== NEW_FIRST && !!sort && sort.column === column && !sort.descending;
  sort = { column, descending };
  const mine = ++asking;
  const answer = await ask_program({ sort, fresh: column === NEW_FIRST ? fresh_rows() : [] });
  if (!answer || mine !== asking) return;
  order = answer.order;
  draw_table(order);
  show_sort();
}

// A new listing comes in its own order; an answer still to come is for
// the listing before.
function reset_sort() {
  sort = null;
  order = null;
  asking += 1;
  show_sort();
}

// The order the table is drawn in, where the listing's own is null; it
// may come before the table is first drawn.
function shown_order() {
  return order;
}
