import { chromium } from 'playwright-core';
import fs from 'node:fs';
const b = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
const p = await b.newPage();
p.on('pageerror', (e) => console.log('pageerror:', String(e)));
await p.goto('file:///work/main/build-web/site/index.html');
await p.waitForFunction(() => typeof createVorn === 'function');
const dir = '/tmp/bt/games/' + (process.argv[2] || 'large');
const names = fs.readdirSync(dir).filter(n => /\.p\d+$/.test(n));
await p.setInputFiles('#files', names.map(n => dir + '/' + n));
for (let k = 0; k < 3; k++) {
await p.evaluate(() => {
  window.__long = []; new PerformanceObserver((l) => { for (const e of l.getEntries()) window.__long.push([Math.round(e.startTime - window.__t0), Math.round(e.duration)]); }).observe({ type: 'longtask' });
  window.__frames = []; window.__framing = true; const f = (t) => { window.__frames.push(t); if (window.__framing) requestAnimationFrame(f); }; requestAnimationFrame(f);
  const reals = show; window.__m = {};
  window.show = async (g, r, s) => { window.__m.show0 = performance.now() - window.__t0; window.__m.timing = r.timing; const x = await reals(g, r, () => { window.__m.shown = performance.now() - window.__t0; s(); }); window.__m.show1 = performance.now() - window.__t0; return x; };
  window.__t0 = performance.now(); document.getElementById('listing').removeAttribute('data-exit-status'); document.getElementById('run').click();
});
await p.waitForFunction(() => document.getElementById('listing').dataset.exitStatus && !document.getElementById('table').hasAttribute('aria-busy'), null, { timeout: 0, polling: 10 });
await new Promise(r => setTimeout(r, 500));
console.log(JSON.stringify(await p.evaluate(() => { window.__framing = false; const fr = window.__frames.map(t => t - window.__t0); const gaps = []; for (let i = 1; i < fr.length; i++) if (fr[i] - fr[i-1] > 50) gaps.push([Math.round(fr[i-1]), Math.round(fr[i] - fr[i-1])]); return { m: window.__m, gaps, long: window.__long }; })));
}
await b.close();
