// One small adapter a browser engine, each through the driver that reaches
// it from Debian's packages: Chromium through playwright-core, Firefox
// through puppeteer-core over WebDriver BiDi, WebKit (WebKitGTK's
// MiniBrowser) through selenium-webdriver and WebKitWebDriver, under Xvfb.
// Every adapter offers the same few verbs, so that each engine runs the
// same cases (browser_test.mjs).
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Errors in the page, gathered by the page itself where the driver can't
// report them (WebKit's, in automation mode, forwards no console).
function watch_errors() {
  if (window.__errors) return;
  window.__errors = [];
  addEventListener('error', (event) => window.__errors.push(String(event.message)));
  addEventListener('unhandledrejection', (event) => window.__errors.push(String(event.reason)));
}

// Where the driver can't save a download, the page's own saving is caught:
// the Blob it makes and the name it gives, read back as base64.
function catch_saves() {
  window.__saved = null;
  if (window.__catching) return;
  window.__catching = true;
  const make_url = URL.createObjectURL;
  URL.createObjectURL = (blob) => {
    window.__blob = blob;
    return make_url.call(URL, blob);
  };
  HTMLAnchorElement.prototype.click = function () {
    window.__saved = this.download;
  };
}

async function read_save() {
  if (!window.__saved) return null;
  const bytes = new Uint8Array(await window.__blob.arrayBuffer());
  let binary = '';
  for (const byte of bytes) binary += String.fromCharCode(byte);
  return { name: window.__saved, base64: btoa(binary) };
}

// The verbs built on `evaluate`, shared by every adapter.
function common(driver) {
  driver.wait_for = async (fn, arg, timeout_ms = 180000) => {
    const started = Date.now();
    for (;;) {
      const value = await driver.evaluate(fn, arg);
      if (value) return value;
      if (Date.now() - started > timeout_ms) throw new Error('timed out waiting for ' + fn);
      await new Promise((resolve) => setTimeout(resolve, 25));
    }
  };
  // Where the driver can't read the clipboard back, what the page hands it
  // is caught on the way.
  driver.copy ??= async (selector) => {
    await driver.evaluate(() => {
      window.__copied = null;
      const writeText = async (text) => (window.__copied = text);
      Object.defineProperty(navigator, 'clipboard', { configurable: true, value: { writeText } });
    });
    await driver.click(selector);
    return driver.wait_for(() => window.__copied);
  };
  driver.page_errors = async () => (await driver.evaluate(() => window.__errors || [])).concat(driver.driver_errors);
  if (!driver.download) {
    driver.download = async (selector) => {
      await driver.evaluate(catch_saves);
      await driver.click(selector);
      const saved = await driver.wait_for(read_save);
      return { name: saved.name, bytes: Buffer.from(saved.base64, 'base64') };
    };
  }
  const goto = driver.goto;
  driver.goto = async (url) => {
    await goto(url);
    await driver.evaluate(watch_errors);
  };
  const reload = driver.reload;
  driver.reload = async () => {
    await reload();
    await driver.evaluate(watch_errors);
  };
  return driver;
}

// The verbs that Playwright's and Puppeteer's pages have alike, and the
// page's errors as they report them.
function page_verbs(browser, page) {
  const driver_errors = [];
  page.on('pageerror', (error) => driver_errors.push(String(error)));
  return {
    driver_errors,
    close: () => browser.close(),
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    evaluate: (fn, arg) => page.evaluate(fn, arg),
    click: (selector) => page.click(selector),
    type: (text) => page.keyboard.type(text),
    screenshot: (file) => page.screenshot({ path: file, fullPage: true }),
  };
}

// With `coverage` (coverage.mjs), what the page's scripts run is taken as
// the test goes.
export async function chromium(work, own, coverage = null) {
  const { chromium: engine } = await import('playwright-core');
  const executablePath = coverage ? coverage.CHROMIUM : '/usr/bin/chromium';
  const browser = await engine.launch({ executablePath, args: CHROMIUM_ARGS });
  const context = await browser.newContext({
    acceptDownloads: true,
    viewport: { width: 1000, height: 900 },
    permissions: ['clipboard-read', 'clipboard-write'],
  });
  // Any request beyond the page's own files fails the test.
  const foreign = [];
  context.on('request', (request) => own(request.url()) || foreign.push(request.url()));
  await context.route('**/*', (route) => (own(route.request().url()) ? route.continue() : route.abort()));
  const page = await context.newPage();
  const verbs = page_verbs(browser, page);
  if (coverage) await coverage.watch(browser, context, page, verbs, own);
  return common({
    name: 'chromium',
    keys_press_buttons: true,
    foreign,
    ...verbs,
    fill: (selector, text) => page.fill(selector, text),
    choose: (selector, paths) => page.setInputFiles(selector, paths),
    press: (key) => page.keyboard.press(key === 'SelectAll' ? 'Control+A' : key),
    resize: (width, height) => page.setViewportSize({ width, height }),
    color_scheme: (scheme) => page.emulateMedia({ colorScheme: scheme }),
    // Copy, read back from the clipboard once the page has written it.
    copy: async (selector) => {
      await page.click(selector);
      return (await page.waitForFunction(() => navigator.clipboard.readText())).jsonValue();
    },
    download: async (selector) => {
      const [download] = await Promise.all([page.waitForEvent('download'), page.click(selector)]);
      const saved = path.join(work, 'downloads', download.suggestedFilename());
      await download.saveAs(saved);
      return { name: download.suggestedFilename(), bytes: fs.readFileSync(saved) };
    },
    processes: 'chromium',
  });
}

export async function firefox() {
  const { default: puppeteer } = await import('puppeteer-core');
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
    defaultViewport: { width: 1000, height: 900 },
  });
  const page = (await browser.pages())[0] || (await browser.newPage());
  return common({
    name: 'firefox',
    // The keys it sends over BiDi reach the page's handlers, but don't
    // press a focused button.
    keys_press_buttons: false,
    ...page_verbs(browser, page),
    fill: async (selector, text) => {
      await page.$eval(selector, (input) => (input.value = ''));
      await page.type(selector, text);
    },
    choose: async (selector, paths) => (await page.$(selector)).uploadFile(...paths),
    press: async (key) => {
      if (key !== 'SelectAll') return page.keyboard.press(key);
      await page.keyboard.down('Control');
      await page.keyboard.press('a');
      await page.keyboard.up('Control');
    },
    resize: (width, height) => page.setViewport({ width, height }),
  });
}

function free_port() {
  return new Promise((resolve) => {
    const server = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// Starts `command` and waits until it listens on `port`.
async function start_listening(command, args, port, env) {
  const child = spawn(command, args, { stdio: 'ignore', env });
  for (let i = 0; i < 200; i++) {
    const up = await new Promise((resolve) => {
      const socket = net.connect(port, '127.0.0.1', () => {
        socket.end();
        resolve(true);
      });
      socket.on('error', () => resolve(false));
    });
    if (up) return child;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  child.kill();
  throw new Error(command + ' did not start');
}

export async function webkit() {
  const { Builder, By, Key } = await import('selenium-webdriver');
  // A display of its own: the MiniBrowser has no headless mode.
  const display = ':' + (90 + Math.floor(Math.random() * 100));
  const xvfb = spawn('Xvfb', [display, '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'], { stdio: 'ignore' });
  await new Promise((resolve) => setTimeout(resolve, 500));
  const port = await free_port();
  const env = { ...process.env, DISPLAY: display };
  const webdriver = await start_listening('WebKitWebDriver', ['--port=' + port], port, env);
  const binary = fs.readdirSync('/usr/lib').map((dir) => `/usr/lib/${dir}/webkit2gtk-4.1/MiniBrowser`)
    .find((file) => fs.existsSync(file));
  const driver = await new Builder()
    .usingServer(`http://127.0.0.1:${port}`)
    .withCapabilities({ browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary, args: ['--automation'] } })
    .build();
  await driver.manage().window().setRect({ width: 1000, height: 900 });
  await driver.manage().setTimeouts({ script: 600000, pageLoad: 60000 });
  const find = (selector) => driver.findElement(By.css(selector));
  const KEYS = { Tab: Key.TAB, Enter: Key.ENTER, ArrowDown: Key.ARROW_DOWN, ArrowUp: Key.ARROW_UP };
  return common({
    name: 'webkit',
    keys_press_buttons: true,
    driver_errors: [],
    goto: (url) => driver.get(url),
    reload: () => driver.navigate().refresh(),
    evaluate: async (fn, arg) => {
      const result = await driver.executeAsyncScript(
        `const done = arguments[arguments.length - 1];
         Promise.resolve().then(() => (${fn})(arguments[0]))
           .then((value) => done({ value }), (error) => done({ error: String(error && error.stack || error) }));`,
        arg === undefined ? null : arg,
      );
      if (result.error) throw new Error(result.error);
      return result.value;
    },
    click: async (selector) => (await find(selector)).click(),
    fill: async (selector, text) => {
      const input = await find(selector);
      await input.clear();
      await input.sendKeys(text);
    },
    // Keys sent to a file input add to the files it holds.
    choose: async (selector, paths) => {
      await driver.executeScript('document.querySelector(arguments[0]).value = "";', selector);
      await (await find(selector)).sendKeys(paths.join('\n'));
    },
    press: (key) =>
      key === 'SelectAll'
        ? driver.actions().keyDown(Key.CONTROL).sendKeys('a').keyUp(Key.CONTROL).perform()
        : driver.actions().sendKeys(KEYS[key]).perform(),
    type: (text) => driver.actions().sendKeys(text).perform(),
    resize: (width, height) => driver.manage().window().setRect({ width, height }),
    screenshot: async (file) => fs.writeFileSync(file, Buffer.from(await driver.takeScreenshot(), 'base64')),
    close: async () => {
      await driver.quit().catch(() => {});
      webdriver.kill();
      xvfb.kill();
    },
  });
}

// The resident memory of every process of the engine's own name, in bytes:
// the page, its worker and the browser around them.
export function resident_bytes(name) {
  let total = 0;
  for (const pid of fs.readdirSync('/proc')) {
    try {
      if (fs.readFileSync(`/proc/${pid}/comm`, 'utf8').trim() !== name) continue;
      const rss = /VmRSS:\s+(\d+) kB/.exec(fs.readFileSync(`/proc/${pid}/status`, 'utf8'));
      if (rss) total += Number(rss[1]) * 1024;
    } catch {
      // The process ended while it was read.
    }
  }
  return total;
}

export const tmp = os.tmpdir();
