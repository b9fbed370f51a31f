#!/usr/bin/env node
// Chromium for the browser test's coverage pass (coverage.mjs), given to
// Playwright as the browser to launch: it starts /usr/bin/chromium with the
// same arguments and relays the DevTools protocol between the two over the
// pipes that Playwright opened (descriptors 3 and 4, each message ended by
// a NUL). On the way it starts V8's precise coverage in every worker the
// moment the worker is attached, while it still waits for its debugger:
// Playwright lets it run as soon as it hears of it, and only code compiled
// after the start has block counters. A second session can't take that
// coverage (starting it again resets the counts), so this relay also
// answers `Vorn.takeCoverage`, sent on any session, with what each live
// worker ran since the last take, and the source of each script the first
// time it is given.
import { spawn } from 'node:child_process';
import net from 'node:net';

// The ids of the relay's own requests, far above Playwright's.
const OWN_IDS = 1e9;
// How long a worker may take to answer: one that goes meanwhile never does.
const ANSWER_MS = 10000;

const chromium = spawn('/usr/bin/chromium', process.argv.slice(2), {
  stdio: ['inherit', 'inherit', 'inherit', 'pipe', 'pipe'],
});
chromium.on('exit', (code) => process.exit(code ?? 1));
const to_browser = chromium.stdio[3];
// Sockets, not file streams: a file stream's read of a pipe holds a thread
// that keeps the relay from exiting.
const to_client = new net.Socket({ fd: 4, readable: false, writable: true });
const workers = new Map(); // session id -> the keys of the scripts whose source was given
const answers = new Map(); // own request id -> its resolve
let next_id = OWN_IDS;

function request(sessionId, method, params = {}) {
  const id = next_id++;
  to_browser.write(JSON.stringify({ id, sessionId, method, params }) + '\0');
  return new Promise((resolve) => {
    const timer = setTimeout(() => answers.delete(id) && resolve({ error: 'no answer' }), ANSWER_MS);
    answers.set(id, (answer) => {
      clearTimeout(timer);
      resolve(answer);
    });
  });
}

// Dedicated workers are attached on their page's session; a service worker
// on the browser's, the one session of the two that Playwright keeps.
function is_worker(message) {
  const type = message.params.targetInfo.type;
  return type === 'worker' || (type === 'service_worker' && !message.sessionId);
}

function from_browser(text) {
  const message = JSON.parse(text);
  if (message.id >= OWN_IDS) {
    answers.get(message.id)?.(message);
    answers.delete(message.id);
    return;
  }
  if (message.method === 'Target.attachedToTarget' && is_worker(message)) {
    const session = message.params.sessionId;
    workers.set(session, new Set());
    request(session, 'Profiler.enable');
    request(session, 'Profiler.startPreciseCoverage', { callCount: true, detailed: true });
  } else if (message.method === 'Target.detachedFromTarget') {
    workers.delete(message.params.sessionId);
  }
  to_client.write(text + '\0');
}

async function take_worker(session, given) {
  await request(session, 'Debugger.enable'); // which getScriptSource needs
  const taken = await request(session, 'Profiler.takePreciseCoverage');
  const scripts = [];
  for (const script of taken.result ? taken.result.result : []) {
    const key = session + ' ' + script.scriptId;
    let source;
    if (!given.has(key)) {
      source = (await request(session, 'Debugger.getScriptSource', { scriptId: script.scriptId })).result?.scriptSource;
      if (source !== undefined) given.add(key);
    }
    scripts.push({ key, url: script.url, source, functions: script.functions });
  }
  return scripts;
}

async function take_all(message) {
  const taken = await Promise.all([...workers].map(([session, given]) => take_worker(session, given)));
  const answer = { id: message.id, sessionId: message.sessionId, result: { scripts: taken.flat() } };
  to_client.write(JSON.stringify(answer) + '\0');
}

function from_client(text) {
  const message = JSON.parse(text);
  if (message.method === 'Vorn.takeCoverage') take_all(message);
  else to_browser.write(text + '\0');
}

// Calls `each` with every whole message that comes from `stream`.
function messages(stream, each) {
  let rest = '';
  stream.setEncoding('utf8');
  stream.on('data', (data) => {
    const parts = (rest + data).split('\0');
    rest = parts.pop();
    for (const part of parts) each(part);
  });
}

messages(chromium.stdio[4], from_browser);
const from_playwright = new net.Socket({ fd: 3, readable: true, writable: false });
messages(from_playwright, from_client);
from_playwright.on('end', () => to_browser.end());
