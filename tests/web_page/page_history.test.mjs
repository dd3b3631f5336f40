// The page keeps the work as the window does: Ctrl+Z and Ctrl+Shift+Z undo and redo a setting or
// a fit, As designed gives back what a grade's fit changed, the title names the open design with
// a mark after a change and the tab asks before closing then, a parts list nothing uses says so,
// and at 360 px the verdict's columns need no sideways scrolling.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {change, click, launch, open, pressTab, settled} from './page_fixture.mjs';

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

const NoDiode = ['10000', '2.5', '40', '30', ''];

// The settings a fit changes, the spec, and the fit's radio buttons checked.
async function analysisState(page) {
  await settled(page);
  return page.evaluate(() => ({
    boxes: ['Spec', 'ResistorTolerance', 'ResistorTcr'].map((id) => document.getElementById(id).value),
    checked: [...document.querySelectorAll('#AnalysisReport input[type="radio"]:checked')].map((r) => r.id),
  }));
}

// Ctrl+Z, or Ctrl+Shift+Z, with the focus in a number box of the settings.
async function undoKey(page, redo = false) {
  await page.focus('#Spec');
  await page.keyboard.down('Control');
  if (redo) {
    await page.keyboard.down('Shift');
  }
  await page.keyboard.press('KeyZ');
  await page.keyboard.up('Shift');
  await page.keyboard.up('Control');
  await settled(page);
}

test('undo and redo step through the settings and the fits; As designed gives the settings back', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  const start = {boxes: ['5', '1', '100'], checked: []};
  assert.deepEqual(await analysisState(page), start);
  // step, what it does, the state after it
  const steps = [
    ['spec 2', () => change(page, 'Spec', '2'), {boxes: ['2', '1', '100'], checked: []}],
    ['undo', () => undoKey(page), start],
    ['redo', () => undoKey(page, true), {boxes: ['2', '1', '100'], checked: []}],
    // Grade 1 is E24 5 % 200 ppm/°C; at ± 2 % grade 7 is the first that meets the spec.
    ['grade 1', () => click(page, 'FitPartsToBuy1'), {boxes: ['2', '5', '200'], checked: ['FitPartsToBuy1']}],
    ['As designed', () => click(page, 'AsDesigned'), {boxes: ['2', '1', '100'], checked: []}],
    ['undo', () => undoKey(page), {boxes: ['2', '5', '200'], checked: ['FitPartsToBuy1']}],
    ['undo', () => undoKey(page), {boxes: ['2', '1', '100'], checked: []}],
    ['undo', () => undoKey(page), start],
    ['nothing more', () => undoKey(page), start],
  ];
  for (const [name, step, after] of steps) {
    await step();
    assert.deepEqual(await analysisState(page), after, name);
  }
  // A CAL of the tab drops the fit and gives its settings back too.
  await click(page, 'FitPartsToBuy2');
  await click(page, 'Command1');
  assert.deepEqual(await analysisState(page), start);
  assert.deepEqual(page.errors, []);
});

test('the title names the open design, marked after a change; the tab then asks before closing', async () => {
  const page = await open(browser);
  const view = () => page.evaluate(() => {
    const leaving = new Event('beforeunload', {cancelable: true});
    window.dispatchEvent(leaving);
    return [document.title, leaving.defaultPrevented];
  });
  assert.deepEqual(await view(), ['Orvalex KEP CAL', false]);
  await page.evaluate(() => {
    const data = new DataTransfer();
    data.items.add(new File([JSON.stringify({
      format: 'orvalex-kep-design', version: 1, tab: 'calc', diode: false,
      inputs: {r2: 10000, vref: 2.5, vo_max: 40, vo_min: 30}, settings: {spec_pct: 2},
      fit: null, yield_estimated: false, note: ''})], 'worked.okep'));
    document.body.dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
  });
  await settled(page);
  assert.deepEqual(await view(), ['worked.okep \u2014 Orvalex KEP CAL', false]);
  // What changes the Check tab's design leaves it; a setting of its analysis does not.
  await page.evaluate(() => {
    const box = document.getElementById('Text2(1)');
    box.value = '11';
    box.dispatchEvent(new Event('input', {bubbles: true}));
  });
  await change(page, 'Spec', '3');
  assert.deepEqual(await view(), ['worked.okep* \u2014 Orvalex KEP CAL', true]);
  assert.deepEqual(page.errors, []);
});

test('a parts list that neither the series nor a grade names says so beside it', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  const notice = () => page.evaluate(() => {
    const line = document.getElementById('NoticeParts');
    return line.hidden ? null : line.textContent;
  });
  assert.equal(await notice(), null);
  await change(page, 'Parts', '4k7\n10k\n68k\n');
  assert.match(await notice(), /^The parts list is not used: neither the series nor a part grade names it\. To use it, choose the series parts/);
  await change(page, 'Series', 'parts');
  assert.equal(await notice(), null);
  assert.deepEqual(page.errors, []);
});

test('at 360 px the verdict\'s columns of every table are in view without sideways scrolling', async () => {
  const page = await open(browser, {width: 360});
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  const outside = await page.evaluate(() => {
    const view = document.documentElement.clientWidth;
    const found = [];
    for (const table of document.querySelectorAll('#AnalysisReport table')) {
      const region = table.parentElement;
      if (region.scrollWidth > region.clientWidth) {
        found.push(`${table.dataset.section} scrolls`);
      }
      for (const cell of table.querySelectorAll('td')) {
        const box = cell.getBoundingClientRect();
        if (/^(Meets spec|Margin|Tightest spec|Yield|Meets)$/.test(cell.dataset.label) &&
            (box.left < 0 || box.right > view)) {
          found.push(`${table.dataset.section}: ${cell.dataset.label}`);
        }
      }
    }
    return found;
  });
  assert.deepEqual(outside, []);
  // Each cell says its column.
  const first = await page.evaluate(() => getComputedStyle(
    document.querySelector('table[data-section="Parts to buy"] td:nth-child(10)'), '::before').content);
  assert.equal(first, '"Meets spec"');
  assert.deepEqual(page.errors, []);
});
