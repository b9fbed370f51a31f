// Choosing planet files: through the two pickers, by dropping files or a
// folder onto the page, and what the pickers still hold after a reload.
'use strict';
/* global $, show_games, let_go_folder, restore_folder, games_offered */
/* exported chosen_picker, choose_files, drop, drag_over, drag_left, restore_choice */

let picker = 'files'; // the id of the picker the files came from

// Where the player goes to choose again.
function chosen_picker() {
  return picker;
}

function choose_files(input) {
  let_go_folder();
  picker = input.id;
  show_games([...input.files]);
}

// The files of a dropped folder, and of the folders in it.
async function entry_files(entry) {
  if (entry.isFile) return [await new Promise((ok, fail) => entry.file(ok, fail))];
  const reader = entry.createReader();
  const files = [];
  for (;;) {
    const batch = await new Promise((ok, fail) => reader.readEntries(ok, fail));
    if (batch.length === 0) return files;
    for (const child of batch) files.push(...(await entry_files(child)));
  }
}

async function drop(event) {
  event.preventDefault();
  $('drop').classList.remove('over');
  const entries = [...event.dataTransfer.items]
    .map((item) => item.webkitGetAsEntry && item.webkitGetAsEntry())
    .filter(Boolean);
  const files = entries.length > 0
    ? (await Promise.all(entries.map(entry_files))).flat()
    : [...event.dataTransfer.files];
  let_go_folder();
  picker = 'files';
  show_games(files);
}

function drag_over(event) {
  event.preventDefault();
  $('drop').classList.add('over');
}

function drag_left() {
  $('drop').classList.remove('over');
}

// What the pickers hold after a reload (Firefox keeps chosen files), or the
// folder kept from an earlier visit.
async function restore_choice() {
  for (const id of ['files', 'folder']) {
    if ($(id).files.length > 0) return choose_files($(id));
  }
  if ('showDirectoryPicker' in window) await restore_folder(() => games_offered() > 0);
}
