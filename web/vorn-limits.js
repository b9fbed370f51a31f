// The six limits: the fields' values as the program takes them, and the
// copy kept in localStorage, so that the next visit starts with them.
'use strict';
/* global $ */
/* exported LIMIT_IDS, limits, load_limits, save_limits */

const LIMIT_IDS = ['gravmin', 'gravmax', 'tempmin', 'tempmax', 'radmin', 'radmax'];
// The example game's limits, as the README runs it.
const DEFAULT_LIMITS = ['0.5', '1.5', '-40', '40', '20', '80'];
const STORAGE_KEY = 'vorn.limits';

// What the player typed: the fields are the one place that holds it.
function limits() {
  return LIMIT_IDS.map((id) => $(id).value);
}

function load_limits() {
  let saved = null;
  try {
    saved = JSON.parse(localStorage.getItem(STORAGE_KEY));
  } catch {
    // No storage (a private window, say): the defaults then.
  }
  const values = Array.isArray(saved) && saved.length === 6 ? saved : DEFAULT_LIMITS;
  LIMIT_IDS.forEach((id, i) => ($(id).value = String(values[i])));
}

function save_limits() {
  try {
    localStorage.setItem(STORAGE_KEY, JSON.stringify(limits()));
  } catch {
    // Not remembered, but the listing works all the same.
  }
}
