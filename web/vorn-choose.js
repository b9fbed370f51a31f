// Choosing planet files: through the two pickers, by dropping files or a
// folder onto the page, what the pickers still hold after a reload, and
// the way to choose again after a new turn.
'use strict';
/* global $, show_games, let_go_folder, restore_folder, games_offered */
/* exported chosen_picker, choose_files, drop, drag_over, drag_left, restore_choice, offer_choose_again,
   reveal_choose_again, withdraw_choose_again, choose_again */

let picker = 'files'; // the id of the picker the files came from

// Where the player goes to choose again: 'files' or 'folder', as they chose.
function chosen_picker() {
  return picker;
}

// The way to choose again, beside the message that asks for it.
function offer_choose_again() {
  $('choose-again').textContent = 'Choose the ' + picker + ' again';
  $('again').hidden = false;
}

// And in sight, once the message above it is in: the pickers are far above
// it on a small screen.
function reveal_choose_again() {
  $('again').scrollIntoView({ block: 'nearest' });
}

function withdraw_choose_again() {
  $('again').hidden = true;
}

function choose_again() {
  $(picker).click();
}

// What a choice through a picker or a drop can't see, said as it is made.
function unseen_note(kind) {
  return kind === 'folder'
    ? 'Files added to this folder after you chose it are not seen: choose it again after each turn.'
    : 'Files added after you chose these are not seen: choose them again after each turn.';
}

// A folder chosen gives only the files directly in it, as the program reads
// one folder: those of its subfolders have a longer relative path. Choosing
// through one picker clears the other.
function choose_files(input) {
  withdraw_choose_again();
  let_go_folder();
  picker = input.id;
  $(picker === 'files' ? 'folder' : 'files').value = '';
  const files = [...input.files].filter((file) => file.webkitRelativePath.split('/').length <= 2);
  show_games(files, files.length > 0 ? unseen_note(picker) : '');
}

// The files of a dropped folder, those in its subfolders left out; a file
// dropped alone is itself. Each file's path goes into `paths`.
async function entry_files(entry, paths) {
  const file_of = async (child) => {
    const file = await new Promise((ok, fail) => child.file(ok, fail));
    if (entry.isDirectory) paths.set(file, child.fullPath.replace(/^\//, ''));
    return file;
  };
  if (entry.isFile) return [await file_of(entry)];
  const reader = entry.createReader();
  const files = [];
  for (;;) {
    const batch = await new Promise((ok, fail) => reader.readEntries(ok, fail));
    if (batch.length === 0) return files;
    for (const child of batch) if (child.isFile) files.push(await file_of(child));
  }
}

async function drop(event) {
  event.preventDefault();
  $('drop').classList.remove('over');
  const entries = [...event.dataTransfer.items]
    .map((item) => item.webkitGetAsEntry && item.webkitGetAsEntry())
    .filter(Boolean);
  const paths = new Map();
  const files = entries.length > 0
    ? (await Promise.all(entries.map((entry) => entry_files(entry, paths)))).flat()
    : [...event.dataTransfer.files];
  withdraw_choose_again();
  let_go_folder();
  picker = entries.some((entry) => entry.isDirectory) ? 'folder' : 'files';
  $('files').value = $('folder').value = '';
  show_games(files, files.length > 0 ? unseen_note(picker) : '', paths);
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
