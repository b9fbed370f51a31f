import { chromium } from 'playwright-core';
const b = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
const p = await b.newPage();
await p.goto('file:///work/main/build-web/site/index.html');
for (let k = 0; k < 3; k++) {
console.log(await p.evaluate(() => {
  document.getElementById('table-area').hidden = false;
  const tb = document.getElementById('rows'); tb.replaceChildren();
  const t0 = performance.now();
  const frag = document.createDocumentFragment();
  for (let i = 0; i < 13600; i++) frag.append(make_row(['LARGE.P1', 'P1-' + i, '1.00', '-12', '50']));
  const t1 = performance.now();
  tb.append(frag);
  const t2 = performance.now();
  document.body.offsetHeight;
  const t3 = performance.now();
  let html = '';
  for (let i = 0; i < 13600; i++) html += '<tr role="row"><td role="cell">LARGE.P1</td><td role="cell">P1-' + i + '</td><td role="cell">1.00</td><td role="cell">-12</td><td role="cell">50</td></tr>';
  tb.replaceChildren(); document.body.offsetHeight;
  const t4 = performance.now();
  tb.insertAdjacentHTML('beforeend', html);
  const t5 = performance.now();
  document.body.offsetHeight;
  const t6 = performance.now();
  return JSON.stringify({ create: t1 - t0, append: t2 - t1, layout: t3 - t2, html: t5 - t4, layout2: t6 - t5 });
}));
}
await b.close();
