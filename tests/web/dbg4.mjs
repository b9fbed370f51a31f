import * as drivers from './drivers.mjs';
const page = await drivers.webkit('/tmp/bt', () => true);
try {
  await page.goto(process.argv[2] || 'file:///work/main/build-web/site/index.html');
  await page.wait_for(() => typeof worker !== 'undefined' && worker);
  await page.choose('#files', ['/tmp/bt/games/mixed/duel.P1', '/tmp/bt/games/mixed/DUEL.p2']);
  await page.wait_for(() => document.querySelectorAll('#game option').length > 0);
  console.log(await page.evaluate(async () => {
    const f = document.getElementById('files').files[0];
    let n = 0; const r = f.stream().getReader(); for (;;) { const { done, value } = await r.read(); if (done) break; n += value.length; }
    return [f.name, f.size, n, await unchanged(f)];
  }));
  console.log(await page.evaluate(async () => {
    const f = document.getElementById('files').files[0];
    const src = `onmessage = (e) => { const f = e.data; const out = {};
      try { const r = new FileReaderSync(); out.a = r.readAsArrayBuffer(f.slice(0, 100)).byteLength; } catch (x) { out.a = String(x); }
      try { const r = new FileReaderSync(); out.b = r.readAsArrayBuffer(f).byteLength; } catch (x) { out.b = String(x); }
      try { out.c = typeof FileReaderSync; } catch (x) {}
      postMessage(out); }`;
    const w = new Worker(URL.createObjectURL(new Blob([src])));
    return await new Promise((ok) => { w.onmessage = (e) => ok(e.data); w.onerror = (e) => ok('error ' + e.message); w.postMessage(f); });
  }));
  await page.click('#run');
  await new Promise(r => setTimeout(r, 2000));
  console.log(await page.evaluate(() => [document.getElementById('status').textContent, document.getElementById('listing').dataset.exitStatus]));
  console.log(await page.page_errors());
} finally { await page.close(); }
