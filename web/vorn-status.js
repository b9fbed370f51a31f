// The status line, where the page tells the player what it did last. Only
// this file writes #status, so no other file has to read it back from the
// page; and `$`, which every script of the page uses.
'use strict';
/* exported $, say */

function $(id) {
  return document.getElementById(id);
}

function say(text) {
  $('status').textContent = text;
}
