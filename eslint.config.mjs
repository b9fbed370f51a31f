// eslint's configuration for the page (web/) and its browser test
// (tests/web/), with eslint's recommended rules. It sits at the root, above
// both folders, so that eslint run from here finds it and reads its paths
// from here; the packages it loads are the browser test's, pinned in
// tests/web/package-lock.json (`npm ci` there), the project's only npm
// packages. .ci/lint runs it:
//
//   tests/web/node_modules/.bin/eslint web tests/web eslint.config.mjs
//
// The page's scripts are classic scripts (a page opened from file:// can't
// load modules) that share one global scope: a script names what it takes
// from another in a /* global name */ comment and what it gives the others
// in an /* exported name */ comment, at its top.
import { createRequire } from 'node:module';

const require = createRequire(new URL('tests/web/', import.meta.url));
const js = require('@eslint/js');
const globals = require('globals');

const WORKER_SCRIPTS = ['web/vorn-worker.js'];
const SERVICE_WORKER = 'web/vorn-sw.js';

export default [
  { ignores: ['build*/', 'dist/', '**/node_modules/'] },
  js.configs.recommended,
  { linterOptions: { reportUnusedDisableDirectives: 'error' } },
  {
    files: ['web/**/*.js'],
    ignores: [...WORKER_SCRIPTS, SERVICE_WORKER],
    languageOptions: { sourceType: 'script', globals: globals.browser },
  },
  // A function whose text starts a worker runs where a worker's globals
  // are, not a window's: its script gets those only.
  {
    files: WORKER_SCRIPTS,
    languageOptions: { sourceType: 'script', globals: globals.worker },
  },
  {
    files: [SERVICE_WORKER],
    languageOptions: { sourceType: 'script', globals: globals.serviceworker },
  },
  // The browser test runs in Node.js, and hands functions to the page
  // (evaluate, wait_for) whose bodies run there.
  {
    files: ['tests/web/**/*.{js,mjs}'],
    languageOptions: {
      sourceType: 'module',
      globals: { ...globals.node, ...globals.browser },
    },
  },
  {
    files: ['eslint.config.mjs'],
    languageOptions: { sourceType: 'module', globals: globals.node },
  },
];
