// Sorting the table by a column: the order chosen is kept here, and the
// headers' aria-sort only says it.
'use strict';
/* global draw_table, row_is_new */
/* exported NEW_FIRST, sorted, sort_by, reset_sort */

// The column past the table's five that sorts the planets new since the
// last listing first (vorn-news.js).
const NEW_FIRST = 5;

let sort = null; // { column, descending } once the player sorts

// A value as the program printed it, as a number: -INF first, +INF after
// every finite value, and NaNs, which have no place among numbers, last.
function sort_key(text) {
  if (/INF$/.test(text)) return text.startsWith('-') ? -Infinity : Infinity;
  const value = Number(text);
  return Number.isNaN(value) ? null : value;
}

const NAME_ORDER = new Intl.Collator(undefined, { numeric: true });

function compare(column, a, b) {
  if (column === NEW_FIRST) return row_is_new(b) - row_is_new(a);
  if (column < 2) return NAME_ORDER.compare(a[column], b[column]);
  const x = sort_key(a[column]);
  const y = sort_key(b[column]);
  if (x === null || y === null) return (x === null) - (y === null);
  return x < y ? -1 : x > y ? 1 : 0;
}

// The rows in the order chosen; equal values keep the listing's order.
function sorted(rows) {
  if (!sort) return rows;
  const { column, descending } = sort;
  const sign = descending ? -1 : 1;
  return rows.slice().sort((a, b) => sign * compare(column, a, b));
}

function show_sort() {
  document.querySelectorAll('#table th').forEach((header, column) => {
    if (sort && column === sort.column) header.setAttribute('aria-sort', sort.descending ? 'descending' : 'ascending');
    else header.removeAttribute('aria-sort');
  });
}

// Sorts by a column, ascending, or the other way when it is sorted already.
function sort_by(column) {
  const descending = !!sort && sort.column === column && !sort.descending;
  sort = { column, descending };
  show_sort();
  draw_table();
}

// A new listing comes in its own order.
function reset_sort() {
  sort = null;
  show_sort();
}
