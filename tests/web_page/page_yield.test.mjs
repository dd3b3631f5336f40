// The yield in the page: each level's histogram with its spec band, the yields of Parts to buy,
// the progress of a long estimate and its Cancel, and a newer analysis taking its place.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {change, click, launch, open, pressTab, settled} from './page_fixture.mjs';

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

const NoDiode = ['10000', '2.5', '40', '30', ''];

async function analysed(page) {
  const opened = await open(page);
  await pressTab(opened, 'calc', {diode: 'no', texts: NoDiode});
  await click(opened, 'AnalyseCalc');
  return opened;
}

// The Yield section as shown: its table, its notes, and each histogram's bars and spec band.
function yieldView(page) {
  return page.evaluate(() => {
    const table = document.querySelector('table[data-section="Yield"]');
    if (!table) {
      return null;
    }
    const part = table.closest('.report-section');
    return {
      bands: [...table.tBodies[0].rows].map((row) => row.cells[2].textContent),
      notes: [...part.querySelectorAll('.note')].map((p) => p.textContent),
      histograms: [...part.querySelectorAll('figure.histograms svg')].map((svg) => ({
        title: svg.getAttribute('aria-label'),
        boards: [...svg.querySelectorAll('rect.bin')].reduce((sum, bar) => sum + Number(bar.dataset.count), 0),
        outside: [...svg.querySelectorAll('rect.bin.outside')].map((bar) => bar.getAttribute('fill')),
        band: ['low', 'high'].map((end) => Number(svg.querySelector('rect.spec-band').dataset[end])),
        edges: svg.querySelectorAll('line.spec-edge').length,
      })),
      partsYields: [...document.querySelectorAll('table[data-section="Parts to buy"] tbody tr')]
        .map((row) => row.cells[11].textContent),
    };
  });
}

test('the yield draws each level\'s histogram, hatched outside the spec band drawn over it', async () => {
  const page = await analysed(browser);
  await change(page, 'Spec', '1.5');
  await change(page, 'Boards', '20000');
  await click(page, 'EstimateYield');
  const view = await yieldView(page);
  // Each level's spec band, 1.5 % either way of 40 V, 34.954977 V and 30 V.
  const bands = [[39.4, 40.6], [34.43065280, 35.47930213], [29.55, 30.45]];
  assert.deepEqual(view.bands, ['39.400 V to 40.600 V', '34.431 V to 35.479 V', '29.550 V to 30.450 V']);
  assert.deepEqual(view.histograms.map((h) => h.title), ['Vo at 0.140 V', 'Vo at 0.700 V', 'Vo at 1.250 V']);
  view.histograms.forEach((histogram, level) => {
    // Every board at the three temperatures.
    assert.equal(histogram.boards, 3 * 20000, histogram.title);
    histogram.band.forEach((end, i) => assert.ok(Math.abs(end - bands[level][i]) < 1e-8, histogram.title));
    assert.equal(histogram.edges, 2);
    // ± 1 % parts spread the outputs past ± 1.5 %: bars outside, hatched rather than filled.
    assert.ok(histogram.outside.length > 0, histogram.title);
    assert.ok(histogram.outside.every((fill) => /^url\(#BinHatch\d\)$/.test(fill)), histogram.title);
  });
  assert.match(view.notes[0], /^Yield \d+\.\d{3} %: \d+ of 20000 boards pass at every level/);
  // Each searched grade's best build has its yield; none meets ± 1.5 %, so none is 100 %.
  assert.equal(view.partsYields.length, 7);
  assert.ok(view.partsYields.every((cell) => /^\d+\.\d{3} %$/.test(cell) && cell !== '100.000 %'));
  assert.deepEqual(page.errors, []);
});

// The progress of the yield under way, and what shows that it is.
function progress(page) {
  return page.evaluate(() => {
    const bar = document.getElementById('YieldProgress');
    return {shown: !bar.hidden, done: bar.value, boards: bar.max,
            cancel: !document.getElementById('CancelYield').hidden,
            busy: document.getElementById('Analysis').getAttribute('aria-busy'),
            status: document.getElementById('AnalysisStatus').textContent,
            ticked: document.getElementById('EstimateYield').checked};
  });
}

// Ticks the yield of ten million boards, each of 8 estimates, and waits for its first boards.
async function startLongYield(page) {
  await change(page, 'Boards', '10000000');
  await page.evaluate(() => document.getElementById('EstimateYield').click());
  await page.waitForFunction(() => document.getElementById('YieldProgress').value > 0);
}

test('a long yield shows its progress, and Cancel stops it and leaves the report shown', async () => {
  const page = await analysed(browser);
  await settled(page);
  const before = await page.evaluate(() => document.getElementById('AnalysisReport').textContent);
  await startLongYield(page);
  // Ten million boards for the shown set and each of the 7 grades' best builds.
  const {done, ...running} = await progress(page);
  assert.ok(done > 0 && done < 80000000);
  assert.deepEqual(running, {shown: true, boards: 80000000, cancel: true, busy: 'true',
                             status: 'Estimating the yield\u2026', ticked: true});
  await click(page, 'CancelYield');
  const {done: _stopped, ...cancelled} = await progress(page);
  assert.deepEqual(cancelled, {shown: false, boards: 80000000, cancel: false, busy: null, status: '',
                               ticked: false});
  assert.equal(await page.evaluate(() => document.getElementById('AnalysisReport').textContent), before);
  assert.equal(await yieldView(page), null);
  // The page answers at once: the next analysis is the design's without the yield.
  await change(page, 'Spec', '4');
  assert.equal(await yieldView(page), null);
  assert.deepEqual(page.errors, []);
});

test('a newer analysis takes the place of a yield under way', async () => {
  const page = await analysed(browser);
  await startLongYield(page);
  // A CAL of the other tab is answered meanwhile, between the yield's steps: Vo max 62.58 V.
  await page.evaluate(() => {
    for (const [id, text] of [['Text2(0)', '470'], ['Text2(1)', '10'], ['Text2(2)', '100'], ['Text2(3)', '1.2']]) {
      document.getElementById(id).value = text;
    }
    document.getElementById('Option2(1)').click();
    document.getElementById('Command3').click();
  });
  await page.waitForFunction(() => document.getElementById('Label3(0)').textContent === '63');
  assert.equal((await progress(page)).shown, true, 'the yield goes on');
  await change(page, 'Boards', '1000');
  const view = await yieldView(page);
  assert.match(view.notes[0], / of 1000 boards pass/);
  const {done: _done, ...after} = await progress(page);
  assert.deepEqual(after, {shown: false, boards: 8000, cancel: false, busy: null, status: '',
                           ticked: true});
  assert.deepEqual(page.errors, []);
});
