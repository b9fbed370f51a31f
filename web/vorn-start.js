// Start-up: the limits as last used, the program's worker, every control's
// handler, the choice kept from before, and the service worker.
'use strict';
/* global $, LIMIT_IDS, load_limits, save_limits, load_game_limits, start_program, choose_folder, choose_files, drop,
   drag_over, drag_left, restore_choice, games_offered, list_chosen, list_example, cancel, download, download_csv, copy,
   sort_by, mark_seen_rows, step_rows, watch_install, NEW_FIRST, forget_news, choose_again */

function listen() {
  if ('showDirectoryPicker' in window) {
    $('folder-choice').hidden = false;
    $('choose-folder').addEventListener('click', choose_folder);
    /* c8 ignore start -- Chromium has showDirectoryPicker */
  } else {
    $('folder-choice').remove();
  }
  /* c8 ignore stop */
  $('files').addEventListener('change', (event) => choose_files(event.target));
  $('folder').addEventListener('change', (event) => choose_files(event.target));
  // Each game keeps its limits, so that its next listing compares with its last.
  $('game').addEventListener('change', () => load_game_limits($('game').value.toLowerCase()));
  $('run').addEventListener('click', list_chosen);
  $('example').addEventListener('click', list_example);
  $('cancel').addEventListener('click', cancel);
  $('download').addEventListener('click', download);
  $('csv').addEventListener('click', download_csv);
  $('copy').addEventListener('click', copy);
  $('choose-again').addEventListener('click', choose_again);
  $('new-first').addEventListener('click', () => sort_by(NEW_FIRST));
  $('forget').addEventListener('click', forget_news);
  document.querySelector('.table-scroll').addEventListener('scroll', mark_seen_rows, { passive: true });
  document.querySelector('.table-scroll').addEventListener('keydown', step_rows);
  window.addEventListener('resize', mark_seen_rows);
  document.querySelectorAll('#table th button').forEach((button, column) =>
    button.addEventListener('click', () => sort_by(column)),
  );
  for (const id of LIMIT_IDS) {
    // Kept as typed, not only as the field is left: a page closed or
    // reloaded straight after typing keeps them too.
    $(id).addEventListener('input', () => save_limits());
    $(id).addEventListener('keydown', (event) => event.key === 'Enter' && list_chosen());
  }
  document.addEventListener('dragover', drag_over);
  document.addEventListener('dragleave', drag_left);
  document.addEventListener('drop', drop);
}

function start() {
  load_limits();
  start_program();
  listen();
  // Firefox puts the kept files back into the pickers as the page loads,
  // before this runs; a page taken back from the history cache is shown
  // again without running it.
  window.addEventListener('pageshow', (event) => event.persisted && games_offered() === 0 && restore_choice());
  restore_choice();
  watch_install();
  // For whoever drives the page: its handlers are in, its worker started.
  document.documentElement.dataset.ready = '';
  // Installed, or opened over http(s), the page keeps its own files for
  // offline use; from file:// a service worker can't be registered, and
  // isn't needed.
  if ('serviceWorker' in navigator && location.protocol.startsWith('http')) {
    navigator.serviceWorker.register('vorn-sw.js').catch(() => {});
  }
}

start();
