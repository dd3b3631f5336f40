// Benchmark of the one-file page: its size, its start against a bare page of the same form, and
// one CAL press, whose answer comes from the core's worker. Prints figures, each budget's with
// the budget and whether it is met; run with ORVALEX_PAGE set to the built page.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

import {launch, open, PagePath, PageUrl, setText} from '../tests/web_page/page_fixture.mjs';

const Rounds = Number(process.env.ROUNDS || 15);
const Presses = Number(process.env.PRESSES || 1000);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// The budgets. Usable, the form read and wired: within 1.8 times the bare form. The core in:
// within twice the bare form's empty worker in the same run, as no core in a worker can come in
// before the browser has started one. A press: within 1 ms of the page's own thread.
const UsableBudget = 1.8;
const CoreInBudget = 2;
const PressBudgetMs = 1;
const SizeBudgetBytes = 400 * 1000; // 400 KB
const judged = (figure, budget, unit = '') =>
  `budget ${budget}${unit}, ${figure <= budget ? 'met' : 'missed'}`;

// The same empty four-tab form with no style, script, core or pictures.
const template = fs.readFileSync(new URL('../web_page/page/orvalex-kep.html', import.meta.url), 'utf8');
const barePath = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'orvalex-bare-')), 'bare.html');
const bareForm = template.replace(/<!-- [A-Z]+( \S+)? -->/g, '').replace(/<link rel="icon"[^>]*>/, '');
fs.writeFileSync(barePath, bareForm);
const BareUrl = pathToFileURL(barePath).href;
// The browser's own share of "core ready": the bare form whose one line of script starts a worker
// that does nothing but say it has started; no page's core can be in sooner than that.
const emptyWorkerPath = path.join(path.dirname(barePath), 'empty-worker.html');
const emptyWorker = `<script>
new Worker('data:text/javascript,postMessage(0)').onmessage = () =>
  document.dispatchEvent(new Event('orvalex-ready'));
</script>`;
fs.writeFileSync(emptyWorkerPath, bareForm.replace('</body>', `${emptyWorker}\n</body>`));
const EmptyWorkerUrl = pathToFileURL(emptyWorkerPath).href;

const size = fs.statSync(PagePath).size;
console.log(`page size: ${size} bytes (${(size / 1024).toFixed(1)} KiB; ` +
            `${judged(size, SizeBudgetBytes, ' bytes')})`);

const browser = await launch();
// Navigation to a usable page: each page's DOMContentLoaded, by which the page's script has made
// the settings' inputs and wired the form (it runs at the end of the body); and, for the page,
// the moment its core is in: the worker has made it and said so.
async function startTime(url) {
  const page = await browser.newPage();
  await page.setOfflineMode(true);
  await page.evaluateOnNewDocument(() => {
    document.addEventListener('DOMContentLoaded', () => (window.domReady = performance.now()));
    document.addEventListener('orvalex-ready', () => (window.coreReady = performance.now()));
  });
  await page.goto(url);
  const bare = url === BareUrl;
  await page.waitForFunction((bare) => (bare ? window.domReady : window.coreReady) !== undefined, {}, bare);
  const times = await page.evaluate(() => [window.domReady, Math.max(window.domReady, window.coreReady || 0)]);
  await page.close();
  return times;
}
await startTime(PageUrl); // warm the browser's caches of each once
await startTime(BareUrl);
await startTime(EmptyWorkerUrl);
const ours = [];
const oursParsed = [];
const bare = [];
const workerOnly = [];
for (let i = 0; i < Rounds; ++i) {
  const [parsed, ready] = await startTime(PageUrl);
  ours.push(ready);
  oursParsed.push(parsed);
  bare.push((await startTime(BareUrl))[0]);
  workerOnly.push((await startTime(EmptyWorkerUrl))[1]);
}
// Usable: the form is read and wired, so it takes input, and a CAL pressed before the core is in
// is answered as soon as it is. Core in: the worker has made the core and said so.
const usable = median(oursParsed) / median(bare);
const coreIn = median(ours) / median(workerOnly);
console.log(`start, median of ${Rounds} alternated: bare form usable ${median(bare).toFixed(1)} ms, ` +
            `its empty worker in ${median(workerOnly).toFixed(1)} ms ` +
            `(${(median(workerOnly) / median(bare)).toFixed(2)} times the bare form); ` +
            `page usable ${median(oursParsed).toFixed(1)} ms, core in ${median(ours).toFixed(1)} ms ` +
            `(${(median(ours) / median(bare)).toFixed(2)} times the bare form, ` +
            `${(median(ours) - median(workerOnly)).toFixed(1)} ms after the empty worker)`);
console.log(`usable: ${usable.toFixed(2)} times the bare form (${judged(usable, UsableBudget)})`);
console.log(`core in: ${coreIn.toFixed(2)} times the empty worker's start (${judged(coreIn, CoreInBudget)})`);

// One CAL press. The core answers in its worker, so the page's own thread works twice: at the
// click (reading the boxes, sending the request) and when the answer comes (showing it). The
// second is timed from the page's message listener to a listener added after it, which runs once
// the page's listener and its promise jobs are done. The round trip, click to result texts,
// includes the worker's time.
const timeAnswers = () => {
  const add = EventTarget.prototype.addEventListener;
  Worker.prototype.addEventListener = function (type, listener, options) {
    if (type !== 'message' || window.answerTiming) {
      return add.call(this, type, listener, options);
    }
    window.answerTiming = {start: 0, took: 0};
    add.call(this, type, (event) => {
      window.answerTiming.start = performance.now();
      listener(event);
    }, options);
    add.call(this, type, () => (window.answerTiming.took = performance.now() - window.answerTiming.start));
  };
};
const page = await open(browser, {prepare: (p) => p.evaluateOnNewDocument(timeAnswers)});
await page.evaluate(() => document.getElementById('Option1(1)').click());
for (const [i, text] of ['10000', '2.5', '40', '30'].entries()) {
  await setText(page, `Text1(${i})`, text);
}
const presses = await page.evaluate(async (presses) => {
  const button = document.getElementById('Command1');
  const result = document.getElementById('Label2(0)');
  const shown = () => new Promise((resolve) => {
    const watch = new MutationObserver(() => result.textContent && (watch.disconnect(), resolve()));
    watch.observe(result, {childList: true, characterData: true, subtree: true});
  });
  const own = [];
  const roundTrip = [];
  for (let i = 0; i < presses; ++i) {
    result.textContent = '';
    const answered = shown();
    const t0 = performance.now();
    button.click();
    const clicked = performance.now() - t0;
    await answered;
    roundTrip.push(performance.now() - t0);
    await new Promise((resolve) => setTimeout(resolve)); // the timing listener has run
    if (result.textContent !== '64955') {
      throw new Error(`press gave ${result.textContent}`);
    }
    own.push(clicked + window.answerTiming.took);
  }
  return {own, roundTrip};
}, Presses);
// The page's clock ticks in 0.1 ms steps with some jitter, so a press's own time is a mean.
const us = (ms) => (ms * 1000).toFixed(0);
const mean = (values) => values.reduce((sum, v) => sum + v, 0) / values.length;
const sorted = [...presses.own].sort((a, b) => a - b);
const pressMs = mean(presses.own);
console.log(`CAL press: the page's own thread ${pressMs.toFixed(3)} ms, mean of ${Presses} presses ` +
            `(${judged(pressMs, PressBudgetMs, ' ms')}); 90th percentile ` +
            `${us(sorted[Math.floor(0.9 * sorted.length)])} us, round trip through the worker ` +
            `${us(mean(presses.roundTrip))} us`);
await browser.close();
fs.rmSync(path.dirname(barePath), {recursive: true, force: true});
