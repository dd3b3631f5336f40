// The page's documents: design files opened (chosen or dropped) and saved, as the command line
// writes and reads them, a refused file changing nothing, the report downloaded as the command
// line's document, and the print style.
import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {change, click, launch, message, open, pressTab, settled} from './page_fixture.mjs';

const Cli = process.env.ORVALEX_CLI;
const Driver = process.env.ORVALEX_REQUEST_DRIVER ||
  path.resolve(path.dirname(Cli || '.'), '../tests/web_page/web_request_driver');
const NoCli = !Cli && 'ORVALEX_CLI not set';

let browser;
let folder;
before(async () => {
  browser = await launch();
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'orvalex-documents-'));
});
after(async () => {
  await browser.close();
  fs.rmSync(folder, {recursive: true, force: true});
});

const NoDiode = ['10000', '2.5', '40', '30', ''];
const NoDiodeArgs = ['design', '--r2', '10000', '--vref', '2.5', '--vo-max', '40', '--vo-min', '30'];

// Chromium saves the page's downloads into a folder of the test's; waits for the named file.
async function downloadsTo(page, into) {
  fs.mkdirSync(into, {recursive: true});
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: into});
  return async (name) => {
    const file = path.join(into, name);
    for (let tries = 0; !fs.existsSync(file) && tries < 200; ++tries) {
      await new Promise((wake) => setTimeout(wake, 25));
    }
    return fs.readFileSync(file, 'utf8');
  };
}

async function chooseFile(page, file) {
  const chooser = await page.$('#OpenDesignFile');
  await chooser.uploadFile(file);
  await settled(page);
}

// What a design shows in the page: the tab, its diode, boxes and results, the settings, the fit.
async function designView(page) {
  await settled(page);
  return page.evaluate(() => {
    const value = (id) => document.getElementById(id).value;
    const text = (id) => document.getElementById(id).textContent;
    const analysis = !document.getElementById('Analysis').hidden;
    return {
      tab: document.querySelector('[role="tab"][aria-selected="true"]').id,
      diode: ['Option1(0)', 'Option1(1)', 'Option2(0)', 'Option2(1)'].filter((id) => document.getElementById(id).checked),
      boxes: ['Text1', 'Text2'].map((box) => [0, 1, 2, 3, 4].map((i) => value(`${box}(${i})`))),
      results: ['Label2(0)', 'Label2(1)', 'Label3(0)'].map(text),
      settings: ['Spec', 'Series', 'Parts', 'Seed', 'R2Min'].map(value),
      analysis: analysis ? text('AnalysisTitle') : null,
      subject: analysis ? document.querySelector('#AnalysisReport .subject')?.textContent : null,
      checked: [...document.querySelectorAll('#AnalysisReport input[type="radio"]:checked')].map((r) => r.id),
    };
  });
}

test('a design file the command line wrote opens: boxes, CAL, settings and fit', {skip: NoCli}, async () => {
  // language, the command line's design, what the page shows
  const rows = [
    ['en-US', [...NoDiodeArgs, '--spec', '2', '--fit-pair', '2'], {
      tab: 'Tab0', diode: ['Option1(1)'], boxes: [NoDiode, ['', '', '', '', '']],
      results: ['64955', '7210', ''], settings: ['2', 'E96', '', '1', ''],
      analysis: 'Design analysis \u2013 Calc tab',
      subject: 'As fitted: R1 66.5 k\u03a9, R3 7.5 k\u03a9, preferred pair 2', checked: ['FitRank2']}],
    // The boxes in the user's notation; the design's own pair, typed.
    ['de-DE', ['check', '--r1', '470', '--r2', '10', '--r3', '100', '--vref', '1.2', '--vf', '0.6',
               '--series', 'E24', '--fit-r1', '475', '--fit-r3', '140'], {
      tab: 'Tab3', diode: ['Option2(0)'], boxes: [['', '', '', '', ''], ['470', '10', '100', '1,2', '0,6']],
      results: ['', '', '60'], settings: ['5', 'E24', '', '1', ''],
      analysis: 'Design analysis \u2013 Check tab',
      subject: 'As fitted: R1 475 \u03a9, R3 140 \u03a9, as typed', checked: []}],
  ];
  for (const [lang, args, shown] of rows) {
    const file = path.join(folder, `${lang}.okep`);
    execFileSync(Cli, [...args, '--save', file]);
    const german = lang === 'en-US' ? null : await launch({lang});
    const page = await open(german || browser);
    await chooseFile(page, file);
    assert.deepEqual(await designView(page), shown, lang);
    assert.equal(await message(page), null);
    assert.deepEqual(page.errors, []);
    await (german ? german.close() : page.close());
  }
});

test('a design saved by the page opens in the command line as it was', {skip: NoCli}, async () => {
  const page = await open(browser);
  const download = await downloadsTo(page, path.join(folder, 'saved'));
  await pressTab(page, 'check', {diode: 'yes', texts: ['470', '10', '100', '1.2', '0.6']});
  await click(page, 'AnalyseCheck');
  await change(page, 'Spec', '2.5');
  await change(page, 'Parts', '4k7\n10k');
  await change(page, 'Seed', '18446744073709551615');
  await click(page, 'FitRank1');
  await click(page, 'SaveDesignCheck');
  const text = await download('design.okep');
  const file = path.join(folder, 'saved', 'design.okep');
  const run = spawnSync(Cli, ['open', file, '--json'], {encoding: 'utf8'});
  assert.equal(run.status, 0, run.stderr);
  const {press, analysis} = JSON.parse(run.stdout);
  assert.deepEqual([analysis.settings.spec_pct, analysis.settings.parts, analysis.settings.series],
                   [2.5, [4700, 10000], 'E96']);
  assert.match(text, /"seed": 18446744073709551615,/);
  assert.deepEqual([analysis.fitted.r1, analysis.fitted.r3], [analysis.preferred.pairs[0].r1,
                                                              analysis.preferred.pairs[0].r3]);
  assert.ok(press);
  assert.deepEqual(page.errors, []);
});

test('a design file opens by dropping it on the page; a refused one changes nothing', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  await change(page, 'Spec', '3');
  const before = await designView(page);
  const drop = (name, text) => page.evaluate((name, text) => {
    const data = new DataTransfer();
    data.items.add(new File([text], name));
    document.body.dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
  }, name, text);
  // file, its text, the sentence
  const refused = [
    ['broken.okep', '{"format": NaN}', 'broken.okep cannot be opened: line 1, column 12 holds NaN or ' +
     'Infinity, which are not numbers in JSON.'],
    ['newer.okep', '{"format": "orvalex-kep-design", "version": 3}', 'newer.okep cannot be opened: it was ' +
     'saved by a newer version (format 3); this one reads up to 2.'],
  ];
  for (const [name, text, sentence] of refused) {
    await drop(name, text);
    assert.equal(await message(page), sentence);
    assert.deepEqual(await designView(page), before, name);
  }
  // Another kind of file is not taken.
  await drop('rail.txt', '{}');
  assert.equal(await message(page), null);
  // A file as a user may write it: settings left out are the defaults.
  await drop('rail.okep', JSON.stringify({
    format: 'orvalex-kep-design', version: 1, tab: 'calc', diode: true,
    inputs: {r2: 10000, vref: 2.5, vo_max: 40, vo_min: 30, vf: 0.6}, settings: {spec_pct: 2},
    fit: null, note: ''}));
  const opened = await designView(page);
  assert.deepEqual([opened.diode, opened.boxes[0], opened.results.slice(0, 2), opened.settings[0]],
                   [['Option1(0)'], ['10000', '2.5', '40', '30', '0.6'], ['24286', '1360'], '2']);
  assert.deepEqual(page.errors, []);
});

// The date the page gives its document, and the epoch second that the command line reads as it.
async function pageDate(page) {
  const date = await page.evaluate(() => {
    const now = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
  });
  return {date, epoch: String(Date.parse(`${date}T12:00:00Z`) / 1000)};
}

test('Download report gives the command line\'s document for the same design and date', {skip: NoCli}, async () => {
  // page settings, the same as flags and as the request's settings, yield ticked
  const rows = [
    [[], [], {}, false],
    [[['Spec', '2'], ['Boards', '1000']], ['--spec', '2', '--boards', '1000'], {spec_pct: 2, boards: 1000}, true],
  ];
  for (const [settings, flags, requested, yieldTicked] of rows) {
    const page = await open(browser);
    const download = await downloadsTo(page, path.join(folder, `report-${yieldTicked}`));
    await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
    await click(page, 'AnalyseCalc');
    for (const [id, value] of settings) {
      await change(page, id, value);
    }
    if (yieldTicked) {
      await click(page, 'EstimateYield');
    }
    await click(page, 'DownloadReport');
    const html = await download('design-analysis.html');
    const {date, epoch} = await pageDate(page);
    assert.match(html, new RegExp(date));
    // The plot, and with the yield each level's histogram.
    assert.equal((html.match(/<svg/g) || []).length, yieldTicked ? 4 : 1, 'the figures');
    const asks = yieldTicked ? ['--meet-spec', '--yield'] : ['--meet-spec'];
    const cli = spawnSync(Cli, [...NoDiodeArgs, ...flags, ...asks, '--format', 'html'],
                          {encoding: 'utf8', env: {...process.env, SOURCE_DATE_EPOCH: epoch}});
    if (cli.status === 0) {
      assert.equal(html, cli.stdout);
    } else {
      // A command line without the synthesis's flags: the same core natively, whose document is
      // the command line's (same_document_test).
      const requests = [{op: 'press', tab: 'calc', yes: false, no: true, texts: NoDiode},
                        {op: 'report_html', tab: 'calc', settings: requested, synthesis: true,
                         yield: yieldTicked, date}];
      const answers = execFileSync(Driver, ['--all-at-once'], {
        input: requests.map((r) => JSON.stringify(r)).join('\n') + '\n', encoding: 'utf8'}).trim().split('\n');
      assert.equal(html, JSON.parse(answers[1]).html);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('Download bill of materials gives the command line\'s --format bom; none while nothing meets', {skip: NoCli}, async () => {
  // A catalogue of the worked example's parts in two grades, 10 kΩ in both.
  const catalogue = 'value, tcr, price, mpn, manufacturer\n64.9k, 50, 0.016, ERJ-6492, Panasonic\n' +
    '10k, 50, 0.016, ERJ-1002, Panasonic\n10k, 100, 0.013, RC-1002, Yageo\n7.15k, 100, 0.013, RC-7151, Yageo\n';
  const catalogueFile = path.join(folder, 'catalogue.csv');
  fs.writeFileSync(catalogueFile, catalogue);
  // spec, the button's state, the flags, the parts box, a line the CSV must hold
  const rows = [['5', true, [], '', /^R1,64900,1,50,0,4,/m],
                ['1.5', false, ['--spec', '1.5'], ''],
                ['5', true, ['--parts', catalogueFile], catalogue, /^R1,64900,1,50,0,2 \(Panasonic\),ERJ-6492,Panasonic,1,0.016,$/m]];
  for (const [spec, enabled, flags, parts, line] of rows) {
    const page = await open(browser);
    const download = await downloadsTo(page, path.join(folder, `bom-${spec}-${flags.length}`));
    await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
    await click(page, 'AnalyseCalc');
    await change(page, 'Spec', spec);
    if (parts) {
      await change(page, 'Parts', parts);
    }
    assert.equal(await page.$eval('#DownloadBom', (b) => !b.disabled), enabled, spec);
    const cli = spawnSync(Cli, [...NoDiodeArgs, ...flags, '--format', 'bom'], {encoding: 'utf8'});
    assert.equal(cli.status, enabled ? 0 : 1, cli.stderr);
    if (enabled) {
      await click(page, 'DownloadBom');
      const csv = await download('design-bom.csv');
      assert.equal(csv, cli.stdout);
      assert.match(csv, line);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('printing shows the analysis alone, without the calculator, boxes or buttons', async () => {
  const page = await open(browser);
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  await page.emulateMediaType('print');
  const shown = await page.evaluate(() => {
    const visible = (element) => element.getClientRects().length > 0;
    return {
      calculator: visible(document.getElementById('SSTab1')),
      buttons: [...document.querySelectorAll('button')].filter(visible).map((b) => b.id || b.textContent),
      boxes: [...document.querySelectorAll('#Analysis :is(input, select, textarea)')].filter(visible).length,
      tables: [...document.querySelectorAll('#AnalysisReport table')].filter(visible).length,
      plot: visible(document.querySelector('#PlotArea svg')),
      scrolls: [...document.querySelectorAll('.table-scroll')].map((s) => getComputedStyle(s).overflowX),
    };
  });
  assert.deepEqual({...shown, scrolls: [...new Set(shown.scrolls)]},
                   {calculator: false, buttons: [], boxes: 0, tables: 10, plot: true, scrolls: ['visible']});
  assert.deepEqual(page.errors, []);
});
