// The page's analysis against the command line's JSON for the same design, and how it follows
// its tab: disabled before a recorded CAL, settings, the next CAL, Copy.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {after, before, test} from 'node:test';

import {change, click, launch, open, pressTab, settled} from './page_fixture.mjs';

const Cli = process.env.ORVALEX_CLI;

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

const cliJson = (args) => JSON.parse(execFileSync(Cli, [...args, '--json'], {encoding: 'utf8'}));

// What the page shows, once the core's answers are in: every cell of every table, and the
// plot's marks as numbers.
async function shown(page) {
  await settled(page);
  return page.evaluate(() => ({
    cells: [...document.querySelectorAll('#AnalysisReport td')].map((td) => td.textContent),
    flagged: document.querySelectorAll('#AnalysisReport td.flagged').length,
    marks: [...document.querySelectorAll('#PlotArea g[data-vo]')].map((g) =>
      ['pinV', 'vo', 'min', 'max'].map((k) => Number(g.getAttribute(`data-${k.replace('pinV', 'pin-v')}`)))),
    curve: document.querySelectorAll('#PlotArea polyline').length,
    ticks: document.querySelectorAll('#PlotArea text').length,
  }));
}

const fixed = (v) => v.toFixed(3);
const hasCell = (cells, v) => cells.some((c) => c.startsWith(fixed(v)));

// tab, diode, inputs, the command line's arguments for the same design, a setting to change
const designs = [
  ['calc', 'no', ['10000', '2.5', '40', '30', ''],
   ['design', '--r2', '10000', '--vref', '2.5', '--vo-max', '40', '--vo-min', '30']],
  ['calc', 'yes', ['10000', '2.5', '40', '30', '0.6'],
   ['design', '--r2', '10000', '--vref', '2.5', '--vo-max', '40', '--vo-min', '30', '--vf', '0.6']],
  ['check', 'no', ['470', '10', '100', '1.2', ''],
   ['check', '--r1', '470', '--r2', '10', '--r3', '100', '--vref', '1.2']],
];

test('the analysis shows the command line\'s numbers for the same design', {skip: !Cli && 'ORVALEX_CLI not set'}, async () => {
  for (const [tab, diode, inputs, args] of designs) {
    const page = await open(browser);
    await pressTab(page, tab, {diode, texts: inputs});
    await click(page, tab === 'calc' ? 'AnalyseCalc' : 'AnalyseCheck');
    const {analysis} = cliJson(args);
    const view = await shown(page);
    for (const level of analysis.levels) {
      assert.ok(hasCell(view.cells, level.vo), `${args.join(' ')}: Vo ${level.vo}`);
    }
    for (const band of analysis.tolerance.levels) {
      assert.ok(hasCell(view.cells, band.min) && hasCell(view.cells, band.max), `band ${band.min}`);
    }
    assert.ok(hasCell(view.cells, analysis.faults.pin_open), 'open pin');
    // The plot draws the core's own numbers: one mark a level, its band the worst case.
    assert.deepEqual(view.marks, analysis.levels.map((level, i) => [
      level.pin_v, level.vo, analysis.tolerance.levels[i].min, analysis.tolerance.levels[i].max]));
    assert.equal(view.curve, 1);
    assert.ok(view.ticks > 6);
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('settings change the analysis as the command line\'s flags do', {skip: !Cli && 'ORVALEX_CLI not set'}, async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: ['10000', '2.5', '40', '30', '']});
  await click(page, 'AnalyseCalc');
  const defaults = await page.evaluate(() => ['Series', 'ResistorTolerance', 'VrefTolerance',
    'PinVoltage', 'LevelAccuracy', 'VfSpread'].map((id) => [document.getElementById(id).value,
                                                          document.getElementById(id).disabled]));
  assert.deepEqual(defaults, [['E96', false], ['1', false], ['1', false], ['3.3', false],
                              ['10', false], ['0.05', true]]);
  // Out of range is held at the limit, as the desktop's boxes hold it.
  for (const [id, value, kept] of [['Series', 'E6', 'E6'], ['ResistorTolerance', '150', '99.99'],
                                   ['ResistorTolerance', '5', '5'], ['PinVoltage', '-5000', '-1000'],
                                   ['PinVoltage', '12', '12']]) {
    await page.evaluate((id, value) => {
      const input = document.getElementById(id);
      input.value = value;
      input.dispatchEvent(new Event('change'));
    }, id, value);
    assert.equal(await page.evaluate((id) => document.getElementById(id).value, id), kept);
  }
  const {analysis} = cliJson(['design', '--r2', '10000', '--vref', '2.5', '--vo-max', '40',
                              '--vo-min', '30', '--series', 'E6', '--tolerance', '5',
                              '--pin-voltage', '12']);
  const view = await shown(page);
  for (const pair of analysis.preferred.pairs) {
    for (const vo of pair.levels) {
      assert.ok(hasCell(view.cells, vo), `E6 pair level ${vo}`);
    }
  }
  assert.ok(hasCell(view.cells, analysis.faults.pin_user.vo), 'pin at 12 V');
  assert.deepEqual(view.marks.map((m) => m[3]), analysis.tolerance.levels.map((l) => l.max));
});

test('Analyse waits for a recorded CAL, follows the next one, and Copy copies the report', async () => {
  const page = await open(browser);
  const disabled = () => page.evaluate(() => ['AnalyseCalc', 'AnalyseCheck'].map((id) =>
    document.getElementById(id).disabled));
  assert.deepEqual(await disabled(), [true, true]);
  await pressTab(page, 'calc', {diode: 'no', texts: ['10000', '', '40', '30', '']});
  assert.deepEqual(await disabled(), [true, true], 'a press stopped by the input check records nothing');
  await pressTab(page, 'calc', {texts: ['10000', '2.5', '40', '30', '']});
  assert.deepEqual(await disabled(), [false, true]);
  await click(page, 'AnalyseCalc');
  const before = (await shown(page)).marks;
  await pressTab(page, 'calc', {texts: ['10000', '2.5', '45', '30', '']});
  const afterNext = (await shown(page)).marks;
  assert.notDeepEqual(afterNext, before, 'the open analysis follows its tab\'s next CAL');
  await pressTab(page, 'check', {diode: 'no', texts: ['470', '10', '100', '1.2', '']});
  assert.deepEqual((await shown(page)).marks, afterNext, 'a Check CAL leaves the Calc analysis');

  await click(page, 'CopyAnalysis');
  const copied = await page.evaluate(() => new Promise((r) => setTimeout(() => r(window.copied.at(-1)), 0)));
  const tables = await page.evaluate(() => [...document.querySelectorAll('#AnalysisReport table')].map((t) =>
    [...t.rows].map((row) => [...row.cells].map((c) => c.textContent).join('\t'))));
  for (const lines of tables) {
    for (const line of lines) {
      assert.ok(copied.includes(line), `copied text holds "${line}"`);
    }
  }
  assert.deepEqual(page.errors, []);
});

// A setting's or fit box's text typed and left, as the change event gives it.
const setBox = (page, id, value) => change(page, id, value);

// The fitted pair as the page shows it: the sections' subjects, the chosen rank, the fit boxes,
// the plot's spec bands and the warnings at the report's head.
async function fitView(page) {
  await settled(page);
  return page.evaluate(() => ({
    // The sections of the set analysed; Best builds names its grade instead.
    subjects: [...new Set([...document.querySelectorAll(
      '#AnalysisReport .report-section:not(:has(table[data-section="Best builds"])) .subject')].map((p) => p.textContent))],
    rank: [...document.querySelectorAll('input[name="FitRank"]')].findIndex((r) => r.checked) + 1,
    boxes: ['FitR1', 'FitR3'].map((id) => document.getElementById(id).value),
    spec: [...document.querySelectorAll('#PlotArea rect.spec')].map((r) =>
      [Number(r.dataset.low), Number(r.dataset.high), r.dataset.meets === 'true', r.getAttribute('fill')]),
    warnings: document.getElementById('AnalysisWarnings').hidden ? []
      : [...document.querySelectorAll('#AnalysisWarningList li')].map((li) => li.textContent),
    specNotes: [...document.querySelectorAll('.report-section:has(table[data-section="Output spec"]) .note.warning')].map((p) => p.textContent),
    specFlagged: document.querySelectorAll('table[data-section="Output spec"] td.flagged').length,
  }));
}

const NoDiode = ['10000', '2.5', '40', '30', ''];
const NoDiodeArgs = ['design', '--r2', '10000', '--vref', '2.5', '--vo-max', '40', '--vo-min', '30'];

// design, settings (page box, value, flag), how the pair is fitted, the command line's fit flags
const fits = [
  ['pair 2 misses the spec the design meets', ['calc', 'no', NoDiode, NoDiodeArgs], [],
   {pair: 2}, ['--fit-pair', '2'], 'As fitted: R1 66.5 k\u03a9, R3 7.5 k\u03a9, preferred pair 2'],
  ['typed pair over a wider range', ['calc', 'no', NoDiode, NoDiodeArgs],
   [['TempMax', '125', '--temp-max'], ['ResistorTcr', '500', '--tcr'], ['FbCurrent', '200', '--fb-current']],
   {r1: '65000', r3: '7150'}, ['--fit-r1', '65000', '--fit-r3', '7150'],
   'As fitted: R1 65 k\u03a9, R3 7.15 k\u03a9, as typed'],
  ['Check set with the diode, pair 1, its tempco and spec', ['check', 'yes', ['470', '10', '100', '1.2', '0.6'],
   ['check', '--r1', '470', '--r2', '10', '--r3', '100', '--vref', '1.2', '--vf', '0.6']],
   [['VfTempco', '-3.5', '--vf-tempco'], ['Spec', '2.5', '--spec'], ['TempMin', '-55', '--temp-min'],
    ['VrefDrift', '30', '--vref-drift']],
   {pair: 1}, ['--fit-pair', '1'], 'As fitted: R1 475 \u03a9, R3 140 \u03a9, preferred pair 1'],
];

test('a fitted pair shows the command line\'s numbers with the same flags', {skip: !Cli && 'ORVALEX_CLI not set'}, async () => {
  for (const [name, [tab, diode, inputs, args], settings, choice, fitArgs, subject] of fits) {
    const page = await open(browser);
    await pressTab(page, tab, {diode, texts: inputs});
    await click(page, tab === 'calc' ? 'AnalyseCalc' : 'AnalyseCheck');
    for (const [id, value] of settings) {
      await setBox(page, id, value);
    }
    if (choice.pair) {
      await click(page, `FitRank${choice.pair}`);
    } else {
      await setBox(page, 'FitR1', choice.r1);
      await setBox(page, 'FitR3', choice.r3);
      await click(page, 'FitTyped');
    }
    const flags = settings.flatMap(([, value, flag]) => [flag, value]);
    const {fitted} = cliJson([...args, ...flags, ...fitArgs]).analysis;
    const view = await fitView(page);
    const cells = (await shown(page)).cells;
    assert.deepEqual(view.subjects, [subject], name);
    assert.equal(view.rank, choice.pair ?? 0, name);
    assert.deepEqual(view.boxes, [String(fitted.r1), String(fitted.r3)], name);
    for (const level of fitted.levels) {
      assert.ok(hasCell(cells, level.vo), `${name}: fitted Vo ${level.vo}`);
    }
    assert.deepEqual((await shown(page)).marks.map((m) => m.slice(2)),
                     fitted.tolerance.levels.map((l) => [l.min, l.max]), name);
    assert.deepEqual(view.spec.map((s) => s.slice(0, 3)),
                     fitted.spec.levels.map((l) => [l.low, l.high, l.meets]), name);
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('the fit is kept through settings and the other tab, and dropped at its tab\'s next CAL', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  const designed = 'As designed: R1 64.955 k\u03a9, R3 7.21 k\u03a9';
  // step, what it does, the subject after it, the chosen rank, the fit boxes
  const steps = [
    ['opens as designed', async () => {}, designed, 0, ['64955', '7210']],
    ['the keyboard chooses a row', async () => {
      await page.focus('#FitRank1');
      await page.keyboard.press('Space');
      await settled(page);
      await page.keyboard.press('ArrowDown');
      await settled(page);
      assert.equal(await page.evaluate(() => document.activeElement.id), 'FitRank2',
                   'the focus stays on the row chosen');
    }, 'As fitted: R1 66.5 k\u03a9, R3 7.5 k\u03a9, preferred pair 2', 2, ['66500', '7500']],
    ['a setting keeps the fit', () => setBox(page, 'Spec', '1'),
     'As fitted: R1 66.5 k\u03a9, R3 7.5 k\u03a9, preferred pair 2', 2, ['66500', '7500']],
    ['a Check CAL keeps the Calc fit', () => pressTab(page, 'check', {diode: 'no', texts: ['470', '10', '100', '1.2', '']}),
     'As fitted: R1 66.5 k\u03a9, R3 7.5 k\u03a9, preferred pair 2', 2, ['66500', '7500']],
    // An empty box keeps its number and one out of range is held at the limit, as a spin box does.
    ['typed boxes held within their limits', async () => {
      await setBox(page, 'FitR1', '');
      await setBox(page, 'FitR3', '-5');
      await click(page, 'FitTyped');
    }, 'As fitted: R1 66.5 k\u03a9, R3 1 m\u03a9, as typed', 0, ['66500', '0.001']],
    ['As designed goes back', () => click(page, 'AsDesigned'), designed, 0, ['64955', '7210']],
    ['a fit again', () => click(page, 'FitRank3'), 'As fitted: R1 63.4 k\u03a9, R3 6.98 k\u03a9, preferred pair 3', 3, ['63400', '6980']],
    ['the tab\'s next CAL drops it', () => pressTab(page, 'calc', {diode: 'no', texts: NoDiode}), designed, 0, ['64955', '7210']],
  ];
  for (const [name, act, subject, rank, boxes] of steps) {
    await act();
    const view = await fitView(page);
    assert.deepEqual([view.subjects, view.rank, view.boxes], [[subject], rank, boxes], name);
  }
  assert.deepEqual(page.errors, []);
});

test('a failing spec stands at the report\'s head, flagged and hatched', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  // spec, levels that meet it (plot), warnings from the Output spec section
  for (const [spec, meets, specWarnings] of [['5', [true, true, true], 0], ['0.5', [false, false, false], 3],
                                             ['4.5', [true, false, false], 2]]) {
    await setBox(page, 'Spec', spec);
    const view = await fitView(page);
    assert.deepEqual(view.spec.map((s) => s[2]), meets, `spec ${spec}`);
    assert.deepEqual(view.spec.map((s) => s[3]), meets.map((m) => (m ? null : 'url(#SpecHatch)')));
    assert.equal(view.specNotes.length, specWarnings, `spec ${spec}`);
    assert.equal(view.specFlagged, 2 * specWarnings);
    for (const note of view.specNotes) {
      assert.ok(view.warnings.includes(note), `"${note}" at the head`);
    }
  }
  assert.deepEqual(page.errors, []);
});
