// The synthesis in the page: Parts to buy and Best builds of the worked Calc design against
// figures worked out apart from the code (Python, over every build of each grade), fitting a
// build with its grade's tolerance and TCR, and the lists the core reads from their boxes.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {after, before, test} from 'node:test';

import {change, click, launch, open, pressTab, settled} from './page_fixture.mjs';

const Cli = process.env.ORVALEX_CLI;

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

const NoDiode = ['10000', '2.5', '40', '30', ''];
const NoDiodeArgs = ['design', '--r2', '10000', '--vref', '2.5', '--vo-max', '40', '--vo-min', '30'];

// Each default grade's best build on the worked design at ± 5 %: R1, R3, margin [V], meets,
// tightest spec [%]. The fourth grade, E96 1 % 50 ppm/°C, is the first that meets the spec.
const Grades = [
  [62000, 6800, -3.313064855293007, false, 14.113449726080454],
  [62000, 6800, -0.459862127831947, false, 6.467038228977947],
  [64900, 7150, -0.01731239490046832, false, 5.057707983001561],
  [64900, 7150, 0.1705680994328702, true, 4.4314396685571],
  [63400, 6810, 0.6225193601749623, true, 2.936038717281354],
  [65700, 7410, 0.8451350205473531, true, 2.182883264842156],
  [65700, 7410, 0.8999350645670603, true, 2.000216451443132],
];
const Builds = [[64900, 7150, 0.1705680994328702], [63400, 6810, 0.14070878735760317],
                [66500, 7680, 0.10861527148099981]];

// "64.9 kΩ" as ohms, "0.171 V" as volts, "± 4.43144 %" as a number.
function cellNumber(text) {
  const [, number, prefix] = text.replace('\u00b1 ', '').match(/^(-?[\d.]+)\s*([kM]?)/);
  return Number(`${number}e${{k: 3, M: 6}[prefix] || 0}`);
}

async function section(page, name) {
  await settled(page);
  return page.evaluate((name) => {
    const table = document.querySelector(`table[data-section="${name}"]`);
    if (!table) {
      return null;
    }
    const part = table.closest('.report-section');
    return {rows: [...table.tBodies[0].rows].map((row) => [...row.cells].map((c) => c.textContent)),
            subject: part.querySelector('.subject')?.textContent ?? '',
            notes: [...part.querySelectorAll('.note')].map((p) => p.textContent),
            warnings: [...part.querySelectorAll('.note.warning')].map((p) => p.textContent),
            checked: [...table.querySelectorAll('input[type=radio]')].map((r) => r.checked)};
  }, name);
}

// The command line's synthesis for the same design and flags, when it has one.
function cliSynthesis(flags) {
  if (!Cli) {
    return null;
  }
  const run = spawnSync(Cli, [...NoDiodeArgs, ...flags, '--meet-spec', '--json'], {encoding: 'utf8'});
  return run.status === 0 ? JSON.parse(run.stdout).analysis.synthesis : null;
}

test('Parts to buy: grade 4 is the first that meets ± 5 %, with the three best builds', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  const parts = await section(page, 'Parts to buy');
  // Grade, R1, R2, R3, margin, meets, tightest spec.
  assert.deepEqual(parts.rows.map((row) => [row[0], ...[5, 6, 7, 8].map((c) => cellNumber(row[c])), row[9],
                                            cellNumber(row[10])]),
                   Grades.map(([r1, r3, margin, meets, tightest], g) => [
                     String(g + 1), r1, 10000, r3, Number(margin.toFixed(3)), meets ? 'yes' : 'no',
                     Number(tightest.toFixed(3))]));
  assert.ok(parts.notes.includes('Buy grade 4, E96 \u00b1 1 % \u00b1 50 ppm/\u00b0C: the cheapest that ' +
                                 'meets the \u00b1 5 % spec for all three parts. Select a row to analyse its build as fitted, ' +
                                 'with its tolerance and TCR.'));
  assert.deepEqual(parts.warnings, []);
  const builds = await section(page, 'Best builds');
  assert.equal(builds.subject, 'Grade 4: E96 \u00b1 1 % \u00b1 50 ppm/\u00b0C');
  assert.deepEqual(builds.rows.map((row) => [1, 3, 4].map((c) => cellNumber(row[c]))),
                   Builds.map(([r1, r3, margin]) => [r1, r3, Number(margin.toFixed(3))]));
  const cli = cliSynthesis([]);
  if (cli) {
    assert.deepEqual(parts.rows.map((row) => cellNumber(row[5])), cli.grades.map((g) => g.build.r1));
  }
  assert.deepEqual(page.errors, []);
});

test('at ± 1.5 % no grade meets the spec, the nearest is named and its builds shown', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  await change(page, 'Spec', '1.5');
  const parts = await section(page, 'Parts to buy');
  assert.deepEqual(parts.rows.map((row) => row[9]), Array(7).fill('no'));
  // Grade 7 comes nearest: 65.7 kΩ and 7.41 kΩ, 0.171 V short at 0.14 V, ± 2.000 % at best;
  // Vref ± 1 % alone moves Vo there by ± 0.411 V (1.03 % of 40 V), the pin level by ± 0.0887 V.
  assert.deepEqual(parts.rows[6].slice(5, 9), ['65.7 k\u03a9', '10 k\u03a9', '7.41 k\u03a9', '-0.171 V']);
  assert.deepEqual(parts.warnings, ['No grade meets the \u00b1 1.5 % spec. Grade 7 (E192 \u00b1 0.1 % ' +
                                    '\u00b1 10 ppm/\u00b0C) comes nearest, reaching \u00b1 2.000 % at best; ' +
                                    'Best builds shows its builds.']);
  assert.ok(parts.notes.includes('Vref \u00b1 1 % alone moves Vo at 0.140 V by \u00b1 0.411 V, 1.0 % of ' +
                                 'its target.'));
  assert.ok(parts.notes.includes('The pin level \u00b1 10 mV alone moves Vo at 0.140 V by \u00b1 0.089 V, ' +
                                 '0.2 % of its target.'));
  const nearest = await section(page, 'Best builds');
  assert.equal(nearest.subject, 'Grade 7, nearest the spec (none meets it): E192 \u00b1 0.1 % \u00b1 10 ' +
                                'ppm/\u00b0C');
  assert.deepEqual(nearest.rows[0].slice(1, 5), ['65.7 k\u03a9', '10 k\u03a9', '7.41 k\u03a9', '-0.171 V']);
  // The warning stands at the report's head too.
  const head = await page.evaluate(() => [...document.querySelectorAll('#AnalysisWarningList li')]
    .map((li) => li.textContent));
  assert.ok(head.includes(parts.warnings[0]));
  assert.deepEqual(page.errors, []);
});

// The fit boxes and the grade's figures after selecting a row, and the subject of the set shown.
async function fitted(page) {
  await settled(page);
  return page.evaluate(() => ({
    boxes: ['ResistorTolerance', 'ResistorTcr', 'FitR1', 'FitR3', 'FitR2'].map((id) =>
      document.getElementById(id).value),
    subject: document.querySelector('table[data-section="Levels"]').closest('.report-section')
      .querySelector('.subject').textContent,
    checked: [...document.querySelectorAll('#AnalysisReport input[type="radio"]:checked')].map((r) => r.id),
  }));
}

test('selecting a build fits it with its grade\'s tolerance and TCR; R2 too when it was free', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  // row, tolerance, TCR, R1, R3, R2 (empty: the design's), the subject, the rows checked
  const steps = [
    ['FitPartsToBuy5', ['0.5', '25', '63400', '6810', ''],
     'As fitted: R1 63.4 k\u03a9, R3 6.81 k\u03a9, grade 5\'s best build', ['FitPartsToBuy5']],
    // The chosen grade's best build stands in both tables.
    ['FitBestBuilds1', ['1', '50', '64900', '7150', ''],
     'As fitted: R1 64.9 k\u03a9, R3 7.15 k\u03a9, grade 4\'s best build', ['FitPartsToBuy4', 'FitBestBuilds1']],
    ['FitBestBuilds3', ['1', '50', '66500', '7680', ''],
     'As fitted: R1 66.5 k\u03a9, R3 7.68 k\u03a9, grade 4\'s build 3', ['FitBestBuilds3']],
  ];
  for (const [row, boxes, subject, checked] of steps) {
    await click(page, row);
    assert.deepEqual(await fitted(page), {boxes, subject, checked}, row);
  }
  // With R2 free from 4.7 kΩ to 22 kΩ, grade 3 (E96 1 % 100 ppm/°C) is chosen: 115 k, 17.8 k, 12.7 k.
  await change(page, 'R2Min', '4k7');
  await change(page, 'R2Max', '22k');
  await click(page, 'FitBestBuilds1');
  assert.deepEqual(await fitted(page), {
    boxes: ['1', '100', '115000', '12700', '17800'],
    subject: 'As fitted: R1 115 k\u03a9, R2 17.8 k\u03a9, R3 12.7 k\u03a9, grade 3\'s best build',
    checked: ['FitPartsToBuy3', 'FitBestBuilds1']});
  // As designed drops the fit, R2's box with it, and gives back the tolerance and TCR the first
  // fit found: 1 % and 100 ppm/°C.
  await click(page, 'AsDesigned');
  const designed = await fitted(page);
  assert.deepEqual(designed.boxes, ['1', '100', '64955', '7210', '']);
  assert.deepEqual(designed.checked, []);
  assert.deepEqual(page.errors, []);
});

// The report's text, the analyses asked so far, and each read box's sentence.
async function reportState(page) {
  await settled(page);
  return page.evaluate(() => ({
    report: document.getElementById('AnalysisReport').textContent,
    problems: [...document.querySelectorAll('.problem')].filter((p) => !p.hidden).map((p) =>
      [p.id, p.textContent]),
    invalid: [...document.querySelectorAll('[aria-invalid="true"]')].map((box) => box.id),
  }));
}

test('a bad line of a list shows its sentence and changes nothing; a good list is taken', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  await change(page, 'Series', 'parts');
  const refused = await reportState(page);
  assert.match(refused.report, /The series "parts" needs a parts list to analyse the design\./);
  // box, text, its sentence
  const bad = [
    ['Parts', '64k9\n7k15\n4x7', 'Line 3: \'4x7\' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2).'],
    ['Grades', 'E96, 1, 50\nE97, 1, 50', null],
    ['R2Min', '0.5', 'The lowest R2 must be from 1 \u03a9 to 10000000 \u03a9 to analyse the design.'],
    ['Boards', '12.5', '\'12.5\' is not a whole number from 1000 to 10000000.'],
  ];
  for (const [id, text, sentence] of bad) {
    await change(page, id, text);
    const after = await reportState(page);
    assert.equal(after.report, refused.report, `${id}: the report stays`);
    assert.deepEqual(after.invalid, [id]);
    assert.equal(after.problems.length, 1);
    assert.equal(after.problems[0][0], `Problem${id}`);
    if (sentence) {
      assert.equal(after.problems[0][1], sentence);
    } else {
      assert.match(after.problems[0][1], /^Line 2: /);
    }
    await change(page, id, await page.evaluate((id) => document.getElementById(id).defaultValue, id));
  }
  // The parts at hand, as the list's text gives them: the designed pair itself.
  await change(page, 'Parts', '# at hand\n64k955\n7.21k\n');
  const taken = await reportState(page);
  assert.deepEqual([taken.problems, taken.invalid], [[], []]);
  const pairs = await section(page, 'Preferred values');
  assert.deepEqual(pairs.rows[0].slice(1, 3), ['64.955 k\u03a9', '7.21 k\u03a9']);
  assert.deepEqual(page.errors, []);
});
