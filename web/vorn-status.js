// The status line, where the page tells the player what it did last. Only
// this file writes #status, so no other file has to read it back from the
// page; and `$` and `counted`, which the page's scripts use.
'use strict';
/* exported $, say, counted */

function $(id) {
  return document.getElementById(id);
}

function say(text) {
  $('status').textContent = text;
}

// A count as the page writes it, with its noun: "120,000 rows", "1 file".
function counted(count, noun) {
  return count.toLocaleString('en-US') + ' ' + noun + (count === 1 ? '' : 's');
}
