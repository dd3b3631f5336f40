// The page's analysis against the command line's JSON for the same design, and how it follows
// its tab: disabled before a recorded CAL, settings, the next CAL, Copy.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {after, before, test} from 'node:test';

import {click, launch, open, pressTab} from './page_fixture.mjs';

const Cli = process.env.ORVALEX_CLI;

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

const cliJson = (args) => JSON.parse(execFileSync(Cli, [...args, '--json'], {encoding: 'utf8'}));

// What the page shows: every cell of every table, and the plot's marks as numbers.
function shown(page) {
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
