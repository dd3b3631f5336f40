// One fixture for the page's browser tests: headless Chromium on the built file, offline, with
// the controls found by the window's names and every page error collected.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

import puppeteer from 'puppeteer-core';

export const PagePath = process.env.ORVALEX_PAGE;
export const PageUrl = PagePath ? pathToFileURL(path.resolve(PagePath)).href : '';
const Chromium = process.env.CHROMIUM || '/usr/bin/chromium';

if (!PagePath || !fs.existsSync(PagePath)) {
  throw new Error('Set ORVALEX_PAGE to the built orvalex-kep.html (scripts/build-web.sh OUT_DIR)');
}

// Chromium with a fresh profile; `lang` sets navigator.language. --lang alone follows the
// environment's locale, which may not be generated, so --accept-lang names it as well.
export async function launch({lang = 'en-US'} = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvalex-page-'));
  const posix = `${lang.replace('-', '_')}.UTF-8`;
  const browser = await puppeteer.launch({
    executablePath: Chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', `--lang=${lang}`, `--accept-lang=${lang}`],
    env: {...process.env, LANGUAGE: lang.replace('-', '_'), LANG: posix, LC_ALL: posix},
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, {recursive: true, force: true});
  };
  return browser;
}

// Opens the page offline and waits until the core is loaded. `errors` collects uncaught
// exceptions and console errors: a test ends by expecting it empty. `prepare(page)` runs before
// the page is loaded, for a test's own scripts.
export async function open(browser, {hash = '', width = 1000, height = 800, scheme = 'light',
                                     url = PageUrl, prepare = async () => {}} = {}) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(String(error)));
  page.on('console', (message) => {
    if (message.type() === 'error') {
      page.errors.push(message.text());
    }
  });
  await page.setOfflineMode(true);
  await page.setViewport({width, height});
  await page.emulateMediaFeatures([{name: 'prefers-color-scheme', value: scheme}]);
  // What the page copies is kept where the test can read it.
  await page.evaluateOnNewDocument(() => {
    window.copied = [];
    Object.defineProperty(navigator, 'clipboard', {
      value: {writeText: async (text) => void window.copied.push(text)},
    });
  });
  await prepare(page);
  await page.goto(url + hash);
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  await settled(page);
  return page;
}

// The core answers in its worker: waits until every request the page sent has its answer shown.
export function settled(page) {
  return page.waitForFunction(() => (document.documentElement.dataset.unanswered ?? '0') === '0');
}

// Sets a box's value and raises its change event, as typing and leaving it does.
export async function change(page, id, value) {
  await page.evaluate((id, value) => {
    const input = document.getElementById(id);
    input.value = value;
    input.dispatchEvent(new Event('change'));
  }, id, value);
  await settled(page);
}

// Sets a box's text as a paste would, with the input event the browser raises.
export function setText(page, id, text) {
  return page.evaluate((id, text) => {
    const box = document.getElementById(id);
    box.value = text;
    box.dispatchEvent(new Event('input', {bubbles: true}));
  }, id, text);
}

export async function click(page, id) {
  await page.evaluate((id) => document.getElementById(id).click(), id);
  await settled(page);
}

export async function selectTab(page, name) {
  const index = ['Calc', 'Schematic', 'Resister', 'Check'].indexOf(name);
  await click(page, `Tab${index}`);
}

// The state of the named controls: text, shown, red, checked.
export async function state(page, ids) {
  await settled(page);
  return page.evaluate((ids) => Object.fromEntries(ids.map((id) => {
    const el = document.getElementById(id);
    return [id, {
      text: el.tagName === 'INPUT' ? el.value : el.textContent,
      shown: !el.hidden,
      red: el.classList.contains('red'),
      checked: el.checked === true,
    }];
  })), ids);
}

export async function texts(page, ids) {
  await settled(page);
  return page.evaluate((ids) => ids.map((id) => document.getElementById(id).textContent), ids);
}

// The open message box's text, or null; `close` presses OK.
export async function message(page, {close = true} = {}) {
  await settled(page);
  const text = await page.evaluate(() => {
    const box = document.getElementById('MsgBox');
    return box.open ? document.getElementById('MsgBoxText').textContent : null;
  });
  if (text !== null && close) {
    await page.evaluate(() => document.getElementById('MsgBoxOK').click());
  }
  return text;
}

// One press of a tab: choose the diode, type the five texts, press CAL; gives the message.
export async function pressTab(page, tab, {diode, texts: inputs}) {
  const arrays = tab === 'calc' ? ['Option1', 'Text1', 'Command1'] : ['Option2', 'Text2', 'Command3'];
  await selectTab(page, tab === 'calc' ? 'Calc' : 'Check');
  if (diode) {
    await click(page, `${arrays[0]}(${diode === 'yes' ? 0 : 1})`);
  }
  for (let i = 0; i < inputs.length; ++i) {
    await setText(page, `${arrays[1]}(${i})`, inputs[i]);
  }
  await click(page, arrays[2]);
  return message(page);
}
