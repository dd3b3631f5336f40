// The page's calculator against the window: worked examples, messages, red marks, CLEAR, diode.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {click, launch, message, open, PageUrl, pressTab, selectTab, setText, state, texts} from './page_fixture.mjs';

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

const CalcResults = ['Label2(0)', 'Label2(1)', 'Label2(2)'];
const CheckResults = ['Label3(0)', 'Label3(1)', 'Label3(2)', 'Label3(3)'];
const Red = ['Text1(2)', 'Label2(2)', 'Text1(3)'];
const Cal = 'Cal Error! Please check circuit!';

// The core's worked examples, each pressed after CLEAR: results R1, R3, Vo_mid ('' where the
// press writes nothing), the marked element and the message.
const calcRows = [
  ['NoDiode40To30', 'no', ['10000', '2.5', '40', '30', ''], ['64955', '7210', '35'], null, null],
  ['Diode40To30', 'yes', ['10000', '2.5', '40', '30', '0.6'], ['24286', '1360', ''], null, null],
  ['VoMidOffsetRoundedBeforeSum', 'no', ['1000', '1.0', '35', '10', ''], ['14631', '650', '23'], null, null],
  ['VoMaxBelowVoMin', 'no', ['10000', '2.5', '30', '40', ''], ['195045', '-21650', '35'], null, null],
  ['UnreachableVoMax', 'no', ['10000', '2.5', '40', '2', ''], ['173171', '-4943', '-17'], 'Text1(2)', Cal],
  ['WholeOhmR3MissesVoMid', 'no', ['100', '2.0', '101.2', '40.2', ''], ['151', '3', '66'], 'Label2(2)', Cal],
  ['WholeOhmR3MissesVoMin', 'no', ['2', '0.5', '240.6', '90.8', ''], ['766', '6', '165'], 'Text1(3)', Cal],
  ['DiodeFieldTextIgnoredWithNo', 'no', ['10000', '2.5', '40', '30', 'abc'], ['64955', '7210', '35'], null, null],
  ['GroupedR2', 'no', ['10,000', '2.5', '40', '30', ''], ['64955', '7210', '35'], null, null],
  ['Exponents', 'no', ['1e4', '25e-1', '4E1', '30', ''], ['64955', '7210', '35'], null, null],
  ['VrefAtHighLevel', 'no', ['1000', '1.25', '35', '10', ''], ['', '', ''], null, Cal],
  ['R3ShownAsZero', 'no', ['1', '2.5', '95.8', '62.5', ''], ['9', '0', '79'], null, Cal],
  ['OffsetHalfGoesToEven', 'no', ['10000', '0.85', '20.5', '2.0', ''], ['91961', '5518', '11'], null, null],
  ['ShownVoMidIsChecked', 'no', ['100', '1.5', '37.5', '7.5', ''], ['50', '2', '19'], 'Label2(2)', Cal],
  ['ShownR1IsChecked', 'no', ['100', '1.5', '26.6', '6.5', ''], ['32', '2', '16'], null, null],
  ['EmptyBox', 'no', ['10000', '', '40', '30', ''], ['', '', ''], null, 'Please input Data'],
  ['BadText', 'no', ['10000', '2.5', '40', 'x', ''], ['', '', ''], null, 'Input Data Error'],
];

test('Calc worked examples give the window\'s texts, marks and messages press for press', async () => {
  const page = await open(browser);
  for (const [name, diode, inputs, results, red, expected] of calcRows) {
    await click(page, 'Command2');
    assert.equal(await pressTab(page, 'calc', {diode, texts: inputs}), expected, name);
    assert.deepEqual(await texts(page, CalcResults), results, name);
    const marks = await state(page, Red);
    assert.deepEqual(Red.filter((id) => marks[id].red), red ? [red] : [], name);
  }
  assert.deepEqual(page.errors, []);
});

const checkRows = [
  ['NoDiodeLevels', 'no', ['470', '10', '100', '1.2', ''], ['63', '60', '57', '3.0'], null],
  ['DiodeLevels', 'yes', ['470', '10', '100', '1.2', '0.6'], ['60', '', '57', ''], null],
  ['ExactHalfSpreadRoundsToEven', 'no', ['300', '4', '37', '1.25', ''], ['104', '99', '95', '4.0'], null],
  ['NegativeLevels', 'no', ['100', '100', '12', '0.5', ''], ['4', '-1', '-5', '5.0'], null],
  ['DeltaBeyond32Bits', 'no', ['1e10', '1', '1', '1.2', ''], ['22600000001', '17000000001', '11500000001', '5550000000.0'], null],
  ['InfiniteLevel', 'no', ['1e308', '1', '1e-300', '1.2', ''], ['', '', '', ''], 'Input Data Error'],
  ['EmptyDiodeFieldWithYes', 'yes', ['470', '10', '100', '1.2', ''], ['', '', '', ''], 'Please input Data'],
];

test('Check worked examples give the window\'s texts and messages', async () => {
  const page = await open(browser);
  for (const [name, diode, inputs, results, expected] of checkRows) {
    await click(page, 'Command4');
    assert.equal(await pressTab(page, 'check', {diode, texts: inputs}), expected, name);
    assert.deepEqual(await texts(page, CheckResults), results, name);
  }
  assert.deepEqual(page.errors, []);
});

test('start state: Schematic in front, Check "No" alone chosen, Diode Vf rows hidden', async () => {
  const page = await open(browser);
  assert.equal(await page.evaluate(() => document.querySelector('[aria-selected="true"]').id), 'Tab1');
  const s = await state(page, ['Option1(0)', 'Option1(1)', 'Option2(0)', 'Option2(1)', 'Label1(8)',
                               'Text1(4)', 'Label1(9)', 'Text2(4)', 'Label2(2)', 'Label3(3)']);
  assert.deepEqual(Object.values(s).map((c) => c.checked),
                   [false, false, false, true, false, false, false, false, false, false]);
  assert.deepEqual(Object.values(s).map((c) => c.shown),
                   [true, true, true, true, false, false, false, false, true, true]);
  // A Calc press without a choice says so and writes nothing.
  assert.equal(await pressTab(page, 'calc', {texts: ['10000', '2.5', '40', '30', '']}),
               'Please select Diode Yes or No');
  assert.deepEqual(await texts(page, CalcResults), ['', '', '']);
});

test('a red mark survives a passing CAL; CLEAR whitens it and keeps choice and rows', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: ['10000', '2.5', '40', '2', '']});
  await pressTab(page, 'calc', {texts: ['10000', '2.5', '40', '30', '']});
  assert.equal((await state(page, ['Text1(2)']))['Text1(2)'].red, true);
  assert.deepEqual(await texts(page, CalcResults), ['64955', '7210', '35']);
  await click(page, 'Option1(0)'); // "Yes": Diode Vf shown, Vo_mid hidden, its text kept
  await setText(page, 'Text1(4)', '0.6');
  await click(page, 'Command2');
  const s = await state(page, ['Text1(2)', 'Text1(4)', 'Label2(0)', 'Label2(2)', 'Option1(0)', 'Label1(8)']);
  assert.deepEqual(s['Text1(2)'], {text: '', shown: true, red: false, checked: false});
  assert.deepEqual([s['Text1(4)'].text, s['Label2(2)'].text, s['Label2(0)'].text], ['', '', '']);
  assert.deepEqual([s['Option1(0)'].checked, s['Label1(8)'].shown, s['Label2(2)'].shown], [true, true, false]);
});

test('the diode choice is one across the tabs; Check CLEAR then empties nothing', async () => {
  const page = await open(browser);
  await pressTab(page, 'check', {texts: ['470', '10', '100', '1.2', '']});
  await selectTab(page, 'Calc');
  await click(page, 'Option1(0)');
  const s = await state(page, ['Option2(0)', 'Option2(1)', 'Label3(1)', 'Text2(4)']);
  // The Check pair loses its choice and keeps its "No" layout.
  assert.deepEqual(Object.values(s).map((c) => [c.checked, c.shown]),
                   [[false, true], [false, true], [false, true], [false, false]]);
  await click(page, 'Command4');
  assert.deepEqual(await texts(page, CheckResults), ['63', '60', '57', '3.0']);
  await click(page, 'Command3');
  assert.equal(await message(page), 'Please select Diode Yes or No');
  await click(page, 'Option2(0)');
  assert.deepEqual((await state(page, ['Option1(0)']))['Option1(0)'].checked, false);
  await click(page, 'Command4');
  assert.deepEqual(await texts(page, CheckResults), ['', '', '', '']);
});

test('the message box is modal with the application title, OK holds the focus, Escape is OK', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: ['', '', '', '', '']});
  await click(page, 'Command1');
  const box = () => page.evaluate(() => ({
    open: document.getElementById('MsgBox').open,
    modal: document.getElementById('MsgBox').matches(':modal'),
    title: document.getElementById('MsgBoxTitle').textContent,
    focus: document.activeElement.id,
  }));
  assert.deepEqual(await box(), {open: true, modal: true, title: 'Orvalex_KEP', focus: 'MsgBoxOK'});
  await page.keyboard.press('Tab');
  assert.equal((await box()).focus, 'MsgBoxOK');
  await page.keyboard.press('Escape');
  assert.equal((await box()).open, false);
});

// Whatever a box holds, the press answers with the window's message and the page stays whole.
const oddTexts = ['\u0000', ' ', '-', '1e999', '0x10', '<b>1</b>', '\u202f1', '１２', '\ud83d\ude00',
                  'NaN', 'Infinity', '1'.repeat(5000), '1,2,3', '--1', '1 2', '1\ud800', '\udc00'];

test('any text typed or pasted gets a message or a result, never a broken page', async () => {
  const page = await open(browser);
  for (const odd of oddTexts) {
    for (const i of [0, 2]) {
      const inputs = ['10000', '2.5', '40', '30', ''];
      inputs[i] = odd;
      const shown = await pressTab(page, 'calc', {diode: 'no', texts: inputs});
      assert.ok(shown === null || ['Please input Data', 'Input Data Error', Cal].includes(shown), odd);
    }
  }
  await selectTab(page, 'Calc');
  await page.focus('#Command2');
  await page.keyboard.press('Enter'); // CLEAR from the keyboard
  await page.type('[id="Text1(0)"]', '12ab\u00e9');
  await click(page, 'Command1');
  assert.equal(await message(page), 'Please input Data');
  assert.deepEqual(page.errors, []);
});

// The form takes input before the core is in; a CAL pressed then is answered once it is.
test('a CAL pressed before the core is in is answered when it is', async () => {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(String(error)));
  await page.setOfflineMode(true);
  await page.evaluateOnNewDocument(() => {
    document.addEventListener('DOMContentLoaded', () => {
      window.coreInAtPress = document.documentElement.dataset.ready === 'true';
      document.getElementById('Option1(1)').click();
      ['10000', '2.5', '40', '30'].forEach((text, i) => {
        document.getElementById(`Text1(${i})`).value = text;
      });
      document.getElementById('Command1').click();
    });
  });
  await page.goto(PageUrl);
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  assert.equal(await page.evaluate(() => window.coreInAtPress), false);
  assert.deepEqual(await texts(page, CalcResults), ['64955', '7210', '35']);
  assert.deepEqual(page.errors, []);
  await page.close();
});
