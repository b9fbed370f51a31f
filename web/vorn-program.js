// The worker that runs the program: started with the page, restarted
// where a run is stopped or fails, and one run at a time. It keeps the
// last listing's rows, and is asked for their order and their CSV.
'use strict';
/* global createVorn, vorn_worker */
/* exported start_program, run_vorn, stop_program, ask_program */

let worker = null;
let running = null; // { resolve, progress } of the run in progress
// The resolve of each question asked, in the order asked: the worker
// answers one message at a time.
let asked = [];

// The worker is made from the text of the module and of vorn_worker(), both
// loaded as the page's own scripts: no file is fetched, so this works from
// file:// too. It keeps a module ready for the next listing.
function start_program() {
  const source = 'var _scriptDir;\nvar createVorn = ' + createVorn + ';\n(' + vorn_worker + ')();\n';
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  worker = new Worker(url);
  URL.revokeObjectURL(url);
  worker.onmessage = (event) => {
    if ('order' in event.data || 'csv' in event.data) return asked.shift()(event.data);
    if (!running) return;
    if (event.data.reading) running.progress(event.data);
    else running.resolve(event.data);
  };
  worker.onerror = (event) => {
    event.preventDefault();
    if (running) running.resolve({ failed: true });
    restart_program();
  };
}

// The questions still open go unanswered (null): their rows went with the
// worker.
function restart_program() {
  worker.terminate();
  for (const resolve of asked.splice(0)) resolve(null);
  start_program();
}

// Runs the program on `job` (vorn-worker.js says what it holds); resolves
// to the worker's answer, { failed } or { cancelled }. `progress` gets each
// { reading, of } as it comes.
function run_vorn(job, progress) {
  return new Promise((resolve) => {
    running = {
      resolve: (answer) => {
        running = null;
        resolve(answer);
      },
      progress,
    };
    // Contents are handed over, not copied.
    worker.postMessage(job, job.contents ? job.contents.map((file) => file.bytes.buffer) : []);
  });
}

// Stops the run in progress, if any: its worker goes, and a fresh one
// takes its place.
function stop_program() {
  if (!running) return;
  const stopped = running;
  restart_program();
  stopped.resolve({ cancelled: true });
}

// Asks the worker about the last listing's rows ({ sort } or { csv }, as
// vorn-worker.js says); resolves to its answer, or null where it had to go.
function ask_program(question) {
  return new Promise((resolve) => {
    asked.push(resolve);
    worker.postMessage(question);
  });
}
