// Sharing a design: the link after a CAL opens the same tab, choice and inputs and presses CAL.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {launch, message, open, PageUrl, pressTab, state, texts} from './page_fixture.mjs';

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

const selected = (page) => page.evaluate(() => document.querySelector('[aria-selected="true"]').textContent);

// tab, diode, inputs as typed (odd characters on purpose), the results and message after reopening
const roundTrips = [
  ['calc', 'yes', ['10000', '2.5', '40', '30', '0.6'], ['24286', '1360', ''], null],
  ['check', 'no', ['470', '10', '100', '1.2', 'a&b=c#d %'], ['63', '60', '57', '3.0'], null],
  ['calc', 'no', ['10000', '2.5', '40', '2', ''], ['173171', '-4943', '-17'], 'Cal Error! Please check circuit!'],
];

test('a link copied after CAL opens the same tab, choice and inputs, and presses CAL', async () => {
  for (const [tab, diode, inputs, results, expected] of roundTrips) {
    const first = await open(browser);
    await pressTab(first, tab, {diode, texts: inputs});
    const copy = await first.evaluate(() => {
      const button = [...document.querySelectorAll('.copy-link')].find((b) => b.offsetParent);
      button.click();
      return new Promise((resolve) => setTimeout(() => resolve(window.copied.at(-1)), 0));
    });
    assert.equal(copy, await first.evaluate(() => location.href));
    assert.match(copy, new RegExp(`#tab=${tab}&diode=${diode}&t0=`));
    await first.close();

    const second = await open(browser, {url: copy});
    assert.equal(await selected(second), tab === 'calc' ? 'Calc' : 'Check');
    assert.equal(await message(second), expected, copy);
    const a = tab === 'calc' ? 'Text1' : 'Text2';
    const o = tab === 'calc' ? 'Option1' : 'Option2';
    const s = await state(second, [0, 1, 2, 3, 4].map((i) => `${a}(${i})`).concat([`${o}(0)`]));
    assert.deepEqual(Object.values(s).slice(0, 5).map((c) => c.text), inputs);
    assert.equal(s[`${o}(0)`].checked, diode === 'yes');
    const labels = tab === 'calc' ? ['Label2(0)', 'Label2(1)', 'Label2(2)']
                                  : ['Label3(0)', 'Label3(1)', 'Label3(2)', 'Label3(3)'];
    assert.deepEqual(await texts(second, labels), results);
    assert.deepEqual(second.errors, []);
    await second.close();
  }
});

// A damaged or hand-edited fragment is typed text: the press's own message, never a broken page.
const damaged = [
  ['#tab=calc&diode=no&t0=%E0%A4%A&t1=2.5&t2=40&t3=30', 'Calc', 'Input Data Error'],
  ['#tab=calc&diode=maybe&t0=10000&t1=2.5&t2=40&t3=30', 'Calc', 'Please select Diode Yes or No'],
  ['#tab=check&diode=no&t0=470&t1=10', 'Check', 'Please input Data'],
  ['#tab=check&diode=no&t0=470&t0=1&t1=10&t2=100&t3=1.2', 'Check', null],
  [`#tab=calc&diode=yes&t0=${'9'.repeat(4000)}&t1=2.5&t2=40&t3=30&t4=0.6`, 'Calc', 'Input Data Error'],
  ['#tab=calc&diode=no&t0=%00&t1=%3Cscript%3E&t2=40&t3=30', 'Calc', 'Input Data Error'],
  ['#tab=Calc', 'Schematic', null],
  ['#%%%&&==', 'Schematic', null],
  ['#tab=check&diode=yes', 'Check', 'Please input Data'],
];

test('a damaged fragment gets the press\'s own message and a whole page', async () => {
  for (const [hash, tabName, expected] of damaged) {
    const page = await open(browser, {hash});
    assert.equal(await selected(page), tabName, hash);
    const shown = await message(page);
    assert.equal(shown, expected, hash.slice(0, 80));
    assert.deepEqual(page.errors, [], hash);
    await page.close();
  }
  assert.ok(PageUrl.startsWith('file://'));
});
