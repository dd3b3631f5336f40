// The analysis settings' inputs are the core's table: each row's input with its limits, step,
// default, label and help, in the table's order; and the fit's boxes from the fit's fields.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {launch, open} from './page_fixture.mjs';

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

// What the page made of each control named in the table it holds.
function controls(page) {
  return page.evaluate(() => {
    const table = JSON.parse(document.getElementById('SettingsTable').textContent);
    const view = (field) => {
      const input = document.getElementById(field.id);
      const label = document.querySelector(`label[for="${field.id}"]`);
      const help = document.getElementById(input.getAttribute('aria-describedby'));
      const units = [...input.parentElement.querySelectorAll('.unit')].map((u) => u.textContent);
      return {field, tag: input.tagName, min: input.min, max: input.max, step: input.step,
              decimals: input.dataset.decimals, value: input.value, key: input.dataset.key,
              type: input.type, checked: input.checked,
              options: input.tagName === 'SELECT' ? [...input.options].map((o) => o.text) : null,
              label: label && label.textContent, help: help && help.textContent, title: input.title,
              units};
    };
    return {settings: table.settings.map(view), fit: table.fit.typed.map(view),
            order: [...document.querySelectorAll('#AnalysisSettings .setting :is(input, select, textarea)')].map((c) => c.id)};
  });
}

test('every row of the table is an input with its limits, step, default, label and help', async () => {
  const page = await open(browser);
  const {settings, fit, order} = await controls(page);
  assert.equal(settings.length, 25);
  assert.deepEqual(order, settings.map((s) => s.field.id), 'the table\'s order');
  for (const shown of [...settings, ...fit]) {
    const {field} = shown;
    const name = field.id;
    assert.equal(shown.key, field.key, name);
    assert.equal(shown.label, field.label.replace('&', ''), name);
    assert.equal(shown.help, field.help || null, name);
    assert.equal(shown.title, field.help, name);
    if (field.kind === 'choice') {
      assert.deepEqual([shown.tag, shown.options, shown.value], ['SELECT', field.choices, field.default], name);
      continue;
    }
    if (field.kind === 'flag') {
      assert.deepEqual([shown.tag, shown.type, shown.checked], ['INPUT', 'checkbox', field.default], name);
      continue;
    }
    // A text the core reads: a list, a whole number, a resistance, starting at the default.
    if (field.kind === 'list' || field.kind === 'whole' || field.resistance) {
      assert.deepEqual([shown.tag, shown.value], [field.kind === 'list' ? 'TEXTAREA' : 'INPUT',
                                                  field.default ?? ''], name);
      continue;
    }
    assert.deepEqual([shown.tag, Number(shown.min), Number(shown.max), Number(shown.decimals)],
                     ['INPUT', field.lowest, field.highest, field.decimals], name);
    assert.equal(Number(shown.step), 10 ** -field.decimals, name);
    assert.equal(shown.value, field.default === null ? '' : String(field.default), name);
    assert.deepEqual(shown.units, [field.plus_minus ? '\u00b1' : '', field.unit], name);
  }
  assert.deepEqual(page.errors, []);
});

// The same by hand, as the window's boxes show them: id, min, max, step, value, units.
const byHand = [
  ['ResistorTolerance', '0', '99.99', '0.01', '1', ['\u00b1', '%']],
  ['PinVoltage', '-1000', '1000', '0.001', '3.3', ['', 'V']],
  ['LevelAccuracy', '0', '1000', '0.1', '10', ['\u00b1', 'mV']],
  ['TempMin', '-273.15', '500', '0.01', '-40', ['', '\u00b0C']],
  ['FbCurrent', '0', '1000000', '0.1', '0', ['\u00b1', 'nA']],
  ['Spec', '0.01', '99.99', '0.01', '5', ['\u00b1', '%']],
  ['FitR1', '0.001', '1000000000', '0.001', '', ['', '\u03a9']],
  ['FitR3', '0.001', '1000000000', '0.001', '', ['', '\u03a9']],
  ['FitR2', '0.001', '1000000000', '0.001', '', ['', '\u03a9']],
];

// The texts the core reads, as they start: id, tag, text, units.
const textsByHand = [
  ['Grades', 'TEXTAREA', 'series, tolerance, tcr, price, power_w, name\nE24, 5, 200, 1, 0.1\n' +
   'E24, 1, 100, 1.1, 0.1\nE96, 1, 100, 1.3, 0.1\nE96, 1, 50, 1.6, 0.1\nE192, 0.5, 25, 4, 0.1\n' +
   'E192, 0.1, 25, 9, 0.1\nE192, 0.1, 10, 20, 0.1\n', []],
  ['R2Min', 'INPUT', '', ['', '\u03a9']],
  ['R2Max', 'INPUT', '', ['', '\u03a9']],
  ['Parts', 'TEXTAREA', '', []],
  ['Boards', 'INPUT', '100000', ['', '']],
  ['Seed', 'INPUT', '1', ['', '']],
];

test('the inputs hold the window\'s limits and defaults, worked by hand', async () => {
  const page = await open(browser);
  const {settings, fit} = await controls(page);
  const shown = Object.fromEntries([...settings, ...fit].map((s) => [s.field.id, s]));
  for (const [id, min, max, step, value, units] of byHand) {
    const s = shown[id];
    assert.deepEqual([s.min, s.max, s.step, s.value, s.units], [min, max, step, value, units], id);
  }
  for (const [id, tag, text, units] of textsByHand) {
    const s = shown[id];
    assert.deepEqual([s.tag, s.value, s.units], [tag, text, units], id);
  }
  assert.deepEqual([shown.Series.options, shown.Series.value],
                   [['E6', 'E12', 'E24', 'E48', 'E96', 'E192', 'parts'], 'E96']);
  assert.deepEqual([shown.Distribution.options, shown.Distribution.value],
                   [['uniform', 'normal'], 'uniform']);
  assert.match(shown.VrefDrift.help, /^Vref's drift, plus or minus\. It is 0 by default/);
});
