// The worker that runs the program: started with the page, restarted
// where a run is stopped or fails, and one run at a time. It keeps the
// last listing's rows, and is asked for their order and their CSV. And the
// workers of one question that the page starts beside it.
'use strict';
/* global createVorn, vorn_worker */
/* exported start_program, run_vorn, stop_program, ask_program, ask_apart */

let worker = null;
let running = null; // { resolve, progress } of the run in progress
// The resolve of each question asked, in the order asked: the worker
// answers one message at a time.
let asked = [];

// A worker made from `source`, the text of functions loaded as the page's
// own scripts: no file is fetched, as a page opened from file:// may start
// a worker only from a blob: URL.
function worker_of(source) {
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  const made = new Worker(url);
  URL.revokeObjectURL(url);
  return made;
}

// Asks a worker of its own, made from `source`, one question, and ends it;
// `failed` is the answer where it fails.
function ask_apart(source, question, failed) {
  const apart = worker_of(source);
  return new Promise((resolve) => {
    apart.onmessage = (event) => resolve(event.data);
    /* c8 ignore next -- a worker that fails to start or to answer */
    apart.onerror = () => resolve(failed);
    apart.postMessage(question);
  }).finally(() => apart.terminate());
}

// The program's worker is made from the text of the module and of
// vorn_worker(). It keeps a module ready for the next listing.
function start_program() {
  worker = worker_of('var _scriptDir;\nvar createVorn = ' + createVorn + ';\n(' + vorn_worker + ')();\n');
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
