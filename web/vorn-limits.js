// The six limits: the fields' values as the program takes them, their
// copy in localStorage, for the next visit and for each game, and the marks
// that say where the program read a limit otherwise than it was typed.
'use strict';
/* global $ */
/* exported LIMIT_IDS, limits, load_limits, save_limits, load_game_limits, mark_limits, clear_limit_marks */

const LIMIT_IDS = ['gravmin', 'gravmax', 'tempmin', 'tempmax', 'radmin', 'radmax'];
// The example game's limits, as the README runs it.
const DEFAULT_LIMITS = ['0.5', '1.5', '-40', '40', '20', '80'];
const STORAGE_KEY = 'vorn.limits';
// Each game's limits, by its key (vorn-list.js), as last listed.
const GAMES_KEY = 'vorn.limits.games';
// A plain number: a sign, digits with at most one point, an exponent and
// a unit, all but the digits optional.
const PLAIN_NUMBER = /^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?(g|C|mR)?$/;
const UNIT = /(g|C|mR)$/;
// The decimals that the program's "Vorn ranges" lines print each limit
// with, and the limits' names there.
const RANGE_DECIMALS = [2, 2, 0, 0, 0, 0];
const LIMIT_NAMES = ['Gravity from', 'Gravity to', 'Temperature from', 'Temperature to', 'Radiation from',
  'Radiation to'];

// What the player typed: the fields are the one place that holds it.
function limits() {
  return LIMIT_IDS.map((id) => $(id).value);
}

function stored(key) {
  try {
    return JSON.parse(localStorage.getItem(key));
    /* c8 ignore start -- storage off, as in some private windows: defensive */
  } catch {
    // No storage (a private window, say): nothing kept.
    return null;
  }
  /* c8 ignore stop */
}

function show_limits(values) {
  LIMIT_IDS.forEach((id, i) => ($(id).value = String(values[i])));
}

function load_limits() {
  const saved = stored(STORAGE_KEY);
  show_limits(Array.isArray(saved) && saved.length === 6 ? saved : DEFAULT_LIMITS);
}

// The limits last listed with the game of `key`, where there are some.
function load_game_limits(key) {
  const saved = (stored(GAMES_KEY) || {})[key];
  if (Array.isArray(saved) && saved.length === 6) show_limits(saved);
}

// Keeps the limits for the next visit, and for the game of `key` if given.
function save_limits(key) {
  const games = stored(GAMES_KEY) || {};
  if (key) games[key] = limits();
  try {
    localStorage.setItem(STORAGE_KEY, JSON.stringify(limits()));
    localStorage.setItem(GAMES_KEY, JSON.stringify(games));
    /* c8 ignore start -- storage off or full: defensive */
  } catch {
    // Not remembered, but the listing works all the same.
  }
  /* c8 ignore stop */
}

// A value of the "Vorn ranges" lines, its unit dropped, as a number.
function printed_value(text) {
  const number = text.replace(UNIT, '');
  return /INF$/.test(number) ? (number.startsWith('-') ? -Infinity : Infinity) : Number(number);
}

// Whether the program read `text` as the number typed: a plain number,
// printed within half of the last place it is printed to (ties round to
// even there, so 0.125 shows as 0.12).
function read_as_typed(text, printed, decimals) {
  if (!PLAIN_NUMBER.test(text)) return false;
  const typed = Number(text.replace(UNIT, ''));
  const read = printed_value(printed);
  if (typed === read) return true;
  const scaled = Math.abs(typed - read) * 10 ** decimals;
  return scaled <= 0.5 * (1 + 1e-9) + Math.abs(typed) * 10 ** decimals * 1e-12;
}

// The mark after a limit's field, made when first needed.
function mark_of(id) {
  let mark = $(id + '-read');
  if (!mark) {
    mark = document.createElement('span');
    mark.id = id + '-read';
    mark.className = 'read-as';
    $(id).after(mark);
  }
  return mark;
}

function set_mark(i, text) {
  const id = LIMIT_IDS[i];
  mark_of(id).textContent = text;
  mark_of(id).hidden = !text;
  if (text) $(id).setAttribute('aria-describedby', id + '-read');
  else $(id).removeAttribute('aria-describedby');
}

// Marks each limit that the program read otherwise than it was typed, with
// the value as its "Vorn ranges" lines print it (`ranges`, the six values
// with their units), and each minimum above its maximum.
function mark_limits(ranges) {
  if (ranges.length !== 6) return;
  const typed = limits();
  for (let i = 0; i < 6; i++) {
    const read = read_as_typed(typed[i], ranges[i], RANGE_DECIMALS[i]) ? '' : 'Vorn read this as ' + ranges[i] + '.';
    const max = i % 2 === 0 ? i + 1 : -1;
    const above = max > 0 && printed_value(ranges[i]) > printed_value(ranges[max]) ?
      `${LIMIT_NAMES[i]} ${typed[i]} is above ${LIMIT_NAMES[max].toLowerCase()} ${typed[max]}: no planet can be listed` : '';
    set_mark(i, [read, above].filter(Boolean).join(' '));
  }
}

function clear_limit_marks() {
  for (let i = 0; i < 6; i++) if ($(LIMIT_IDS[i] + '-read')) set_mark(i, '');
}
