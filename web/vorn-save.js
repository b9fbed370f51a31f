// Copy, Download and CSV: each gives the listing shown, which is kept here
// from the moment it is whole until the next one begins; the CSV once its
// table is drawn whole, from the rows that the worker keeps.
'use strict';
/* global $, say, ask_program, display_text */
/* exported offer_saves, offer_csv, withdraw_saves, copy, download, download_csv */

const SAVE_IDS = ['copy', 'download', 'csv'];

let offered = null; // { game, bytes } of the listing shown

// Copy and Download, of the listing's text whole.
function offer_saves(listing) {
  offered = listing;
  $('copy').disabled = false;
  $('download').disabled = false;
}

// The CSV, of the table drawn whole.
function offer_csv() {
  $('csv').disabled = false;
}

function withdraw_saves() {
  offered = null;
  for (const id of SAVE_IDS) $(id).disabled = true;
}

function save(bytes, name, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  say('Saved ' + name);
}

function download() {
  save(offered.bytes, offered.game + '-listing.txt', 'text/plain');
}

// The table's rows in the order shown, made by the worker (vorn-worker.js).
async function download_csv() {
  const listing = offered;
  const answer = await ask_program({ csv: true });
  if (answer && listing === offered) save(answer.csv, listing.game + '-planets.csv', 'text/csv');
}

async function copy() {
  try {
    await navigator.clipboard.writeText(display_text(offered.bytes));
    /* c8 ignore start -- Chromium has the clipboard API, from file:// too */
  } catch {
    // Without the clipboard API (some browsers from file://): select it.
    getSelection().selectAllChildren($('listing'));
    document.execCommand('copy');
  }
  /* c8 ignore stop */
  say('Copied the listing.');
}
