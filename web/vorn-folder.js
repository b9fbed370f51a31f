// A game folder that stays chosen, in browsers with showDirectoryPicker:
// its handle is kept from one visit to the next, and every listing reads
// the folder as it is then, after each turn of the game.
'use strict';
/* global $, PLANET_FILE, show_games */
/* exported folder_chosen, choose_folder, read_folder, let_go_folder, restore_folder */

let folder = null; // the kept directory handle, while a folder is chosen

function folder_chosen() {
  return folder;
}

// The kept handle lives in IndexedDB, the one store that can hold it.
function folder_store(mode, action) {
  return new Promise((resolve) => {
    let open;
    try {
      open = indexedDB.open('vorn', 1);
      /* c8 ignore start -- where the page may keep nothing (storage off): the folder is then not kept */
    } catch {
      return resolve(undefined);
    }
    /* c8 ignore stop */
    open.onupgradeneeded = () => open.result.createObjectStore('kept');
    open.onerror = () => resolve(undefined);
    open.onsuccess = () => {
      const request = action(open.result.transaction('kept', mode).objectStore('kept'));
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => resolve(undefined);
    };
  });
}

// Files chosen or dropped take the folder's place, this visit and the next.
function let_go_folder() {
  folder = null;
  return folder_store('readwrite', (store) => store.delete('folder'));
}

// The folder's own files as they are now, not its subfolders', as the
// program reads one folder: every listing reads them afresh. Each file's
// path goes into `paths`.
async function folder_files(handle, paths) {
  const files = [];
  for await (const entry of handle.values()) {
    if (entry.kind !== 'file' || !PLANET_FILE.test(entry.name)) continue;
    const file = await entry.getFile();
    paths.set(file, handle.name + '/' + entry.name);
    files.push(file);
  }
  return files;
}

// Whether the page may read the kept folder; asking needs a click, so only
// `ask` (from one) asks.
async function may_read(handle, ask) {
  const mode = { mode: 'read' };
  if ((await handle.queryPermission(mode)) === 'granted') return true;
  return ask && (await handle.requestPermission(mode)) === 'granted';
}

// Offers the kept folder's games as the folder is now. A folder that was
// moved or removed, or that the page may not read, offers none; what to do
// then, in a player's words, is returned (and '' when the folder was read).
async function read_folder(ask) {
  let problem = '';
  try {
    if (await may_read(folder, ask)) {
      const paths = new Map();
      const files = await folder_files(folder, paths);
      show_games(files, 'Game folder ' + folder.name + ', read as it is now at each listing.', paths);
      return '';
    }
    problem = 'Game folder ' + folder.name + ': press "List planets" to let the page read it again.';
  } catch {
    problem = 'The game folder ' + folder.name + ' can no longer be read: choose it again.';
  }
  show_games([], problem);
  return problem;
}

async function choose_folder() {
  let handle;
  try {
    handle = await showDirectoryPicker({ id: 'vorn-game', mode: 'read' });
  } catch {
    return; // The player closed the picker.
  }
  folder = handle;
  $('files').value = $('folder').value = '';
  await folder_store('readwrite', (store) => store.put(handle, 'folder'));
  await read_folder(true);
}

// The folder kept from an earlier visit, unless a choice came first.
async function restore_folder(chosen_first) {
  const kept = await folder_store('readonly', (store) => store.get('folder'));
  if (!kept || folder || chosen_first()) return;
  folder = kept;
  await read_folder(false);
}
