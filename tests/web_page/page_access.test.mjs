// The page for everyone: axe-core finds nothing, text keeps its contrast in both schemes, 360 px
// wide needs no sideways scrolling, and the tabs work from the keyboard.
import assert from 'node:assert/strict';
import {createRequire} from 'node:module';
import fs from 'node:fs';
import {after, before, test} from 'node:test';

import {change, click, launch, open, pressTab, selectTab} from './page_fixture.mjs';

const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

// Each view the page has: a tab, the analysis open, the message box open.
const views = [
  ['Schematic', async () => {}],
  ['Resister', async (page) => selectTab(page, 'Resister')],
  ['Check', async (page) => pressTab(page, 'check', {texts: ['470', '10', '100', '1.2', '']})],
  ['Calc marked red, analysis open', async (page) => {
    await pressTab(page, 'calc', {diode: 'no', texts: ['100', '2.0', '101.2', '40.2', '']});
    await click(page, 'AnalyseCalc');
  }],
  ['Calc with a fitted pair and a failing spec', async (page) => {
    await pressTab(page, 'calc', {diode: 'no', texts: ['10000', '2.5', '40', '30', '']});
    await click(page, 'AnalyseCalc');
    await change(page, 'Spec', '0.5');
    await click(page, 'FitRank2');
  }],
  ['message box', async (page) => {
    await selectTab(page, 'Calc');
    await click(page, 'Command1');
  }],
];

async function axe(page) {
  await page.evaluate(axeSource);
  return page.evaluate(async () => {
    const result = await window.axe.run(document, {resultTypes: ['violations']});
    return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  });
}

// The contrast of every visible text against the colour behind it, by the WCAG formula.
function lowContrast(page) {
  return page.evaluate(() => {
    const rgba = (text) => text.match(/[\d.]+/g).map(Number);
    const luminance = ([r, g, b]) => {
      const lin = (c) => ((c /= 255) <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
      return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
    };
    const background = (el) => {
      for (let node = el; node; node = node.parentElement) {
        const colour = rgba(getComputedStyle(node).backgroundColor);
        if (colour.length < 4 || colour[3] === 1) {
          return colour;
        }
      }
      return [255, 255, 255];
    };
    const low = [];
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const el = node.parentElement;
      if (!node.textContent.trim() || !el.checkVisibility() || el.closest('svg:not(.plot svg)') ||
          el.closest('figure.picture') || el.closest(':disabled')) {
        continue;
      }
      const fg = luminance(rgba(getComputedStyle(el).color));
      const bg = luminance(background(el));
      const ratio = (Math.max(fg, bg) + 0.05) / (Math.min(fg, bg) + 0.05);
      if (ratio < 4.5) {
        low.push(`${el.tagName}#${el.id} "${node.textContent.trim().slice(0, 20)}" ${ratio.toFixed(2)}`);
      }
    }
    for (const id of ['Text1(0)', 'Text1(2)', 'Label2(0)']) {
      const el = document.getElementById(id);
      const ratio = ((a, b) => (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05))(
        luminance(rgba(getComputedStyle(el).color)), luminance(background(el)));
      if (ratio < 4.5) {
        low.push(`${id} ${ratio.toFixed(2)}`);
      }
    }
    return low;
  });
}

for (const scheme of ['light', 'dark']) {
  test(`${scheme} scheme: axe-core finds no violation and every text has contrast 4.5 or more`, async () => {
    for (const [name, show] of views) {
      const page = await open(browser, {scheme});
      await show(page);
      assert.deepEqual(await axe(page), [], `${scheme}, ${name}`);
      assert.deepEqual(await lowContrast(page), [], `${scheme}, ${name}`);
      assert.deepEqual(page.errors, []);
      await page.close();
    }
  });
}

test('at 360 px, and at 200 % zoom of 720 px, no view scrolls sideways', async () => {
  for (const [width, zoom] of [[360, 1], [720, 2]]) {
    for (const [name, show] of views) {
      const page = await open(browser, {width});
      await page.evaluate((zoom) => (document.documentElement.style.zoom = String(zoom)), zoom);
      await show(page);
      const [scroll, client] = await page.evaluate(() =>
        [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
      assert.ok(scroll <= client, `${width} px x${zoom}, ${name}: ${scroll} > ${client}`);
      await page.close();
    }
  }
});

test('keyboard alone: arrows move along the tabs, Tab reaches the inputs in order, Space chooses', async () => {
  const page = await open(browser);
  const focused = () => page.evaluate(() => document.activeElement.id);
  await page.focus('#Tab1');
  const walk = [];
  for (const key of ['ArrowRight', 'ArrowRight', 'ArrowLeft', 'Home', 'End', 'ArrowRight']) {
    await page.keyboard.press(key);
    walk.push(await focused());
  }
  assert.deepEqual(walk, ['Tab2', 'Tab3', 'Tab2', 'Tab0', 'Tab3', 'Tab0']);
  assert.equal(await page.evaluate(() => document.getElementById('Page0').hidden), false);
  const order = [];
  for (let i = 0; i < 4; ++i) {
    await page.keyboard.press('Tab');
    order.push(await focused());
  }
  assert.deepEqual(order, ['Option1(0)', 'Text1(0)', 'Text1(1)', 'Text1(2)']);
  await page.keyboard.down('Shift');
  for (let i = 0; i < 3; ++i) {
    await page.keyboard.press('Tab');
  }
  await page.keyboard.up('Shift');
  await page.keyboard.press('Space');
  assert.equal(await page.evaluate(() => document.getElementById('Text1(4)').hidden), false);
  assert.deepEqual(page.errors, []);
});
