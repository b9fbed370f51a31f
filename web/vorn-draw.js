// Drawing in pieces: a large listing is drawn over many frames instead of
// holding the page for the whole of it.
'use strict';
/* exported draw_in_pieces, next_task, display_text */

// How long drawing may hold the page before it lets the browser show a
// frame: well within the tenth of a second in which a page still feels
// responsive, even on a busy machine.
const DRAW_BUDGET_MS = 10;

// Every byte has its own character in windows-1252 as browsers decode it:
// the program's bytes shown, whatever code page the game's names are in.
const DISPLAY_DECODER = new TextDecoder('windows-1252');

function display_text(bytes) {
  return DISPLAY_DECODER.decode(bytes);
}

function next_task() {
  return new Promise((resolve) => setTimeout(resolve, 0));
}

// Appends the pieces that `make_piece` makes to `parent`, giving the page
// back whenever drawing has taken its budget, for as long as `wanted()`
// holds. Whether it was stopped is for the caller to ask `wanted()` again
// once this resolves: the page may have changed in between.
async function draw_in_pieces(parent, count, make_piece, wanted) {
  let slice_start = performance.now();
  for (let i = 0; i < count; i++) {
    if (performance.now() - slice_start > DRAW_BUDGET_MS) {
      await next_task();
      if (!wanted()) return;
      slice_start = performance.now();
    }
    parent.append(make_piece(i));
  }
}
