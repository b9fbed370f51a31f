// Copy, Download and CSV: each gives the listing shown, which is kept here
// from the moment it is whole until the next one begins.
'use strict';
/* global $, say */
/* exported offer_saves, withdraw_saves, copy, download, download_csv */

// The CSV keeps the program's bytes, as Download does: each character of
// the listing as shown (windows-1252, as the worker decodes it) back to its
// byte.
const DISPLAY_BYTES = new Map(
  [...new TextDecoder('windows-1252').decode(Uint8Array.from({ length: 256 }, (_, i) => i))].map((char, byte) => [
    char,
    byte,
  ]),
);
const SAVE_IDS = ['copy', 'download', 'csv'];

let offered = null; // { game, bytes, pieces, rows } of the listing shown

function offer_saves(listing) {
  offered = listing;
  for (const id of SAVE_IDS) $(id).disabled = false;
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
}

function download() {
  save(offered.bytes, offered.game + '-listing.txt', 'text/plain');
}

// RFC 4180: CR LF after every record, and a field with a comma, a quote or
// a line end in quotes, its quotes doubled. The table's rows in the
// listing's order, in the listing's own bytes.
function csv_field(text) {
  return /[",\r\n]/.test(text) ? '"' + text.replace(/"/g, '""') + '"' : text;
}

function download_csv() {
  const header = ['File', 'Planet', 'Gravity (g)', 'Temperature (°C)', 'Radiation (mR)'];
  const text = [header, ...offered.rows].map((row) => row.map(csv_field).join(',') + '\r\n').join('');
  save(Uint8Array.from(text, (char) => DISPLAY_BYTES.get(char)), offered.game + '-planets.csv', 'text/csv');
}

async function copy() {
  try {
    await navigator.clipboard.writeText(offered.pieces.join(''));
  } catch {
    // Without the clipboard API (some browsers from file://): select it.
    getSelection().selectAllChildren($('listing'));
    document.execCommand('copy');
  }
  say('Copied the listing.');
}
