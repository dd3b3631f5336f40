// The core in its worker, seen from the page: a newer analysis takes the place of an older one
// and a press is never dropped; the analysis is busy while it waits and says so after a moment;
// the worker is made offline from the file itself; and on a wide screen the analysis uses the
// width.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {click, launch, open, PageUrl, pressTab, settled, texts} from './page_fixture.mjs';

let browser;
before(async () => (browser = await launch()));
after(async () => browser.close());

const NoDiode = ['10000', '2.5', '40', '30', ''];

// Keeps what goes to the worker and comes back (window.traffic), the worker's address
// (window.workerUrl) and how often the report is drawn (window.reportsDrawn). Requests whose op
// is in `delayed` reach the worker that many milliseconds late.
function spy(page, delayed = {}) {
  return page.evaluateOnNewDocument((delayed) => {
    window.traffic = [];
    window.reportsDrawn = 0;
    const replace = Element.prototype.replaceChildren;
    Element.prototype.replaceChildren = function (...nodes) {
      window.reportsDrawn += this.id === 'AnalysisReport' ? 1 : 0;
      return replace.apply(this, nodes);
    };
    const Native = window.Worker;
    window.Worker = class extends Native {
      constructor(url, options) {
        super(url, options);
        window.workerUrl = String(url);
        this.addEventListener('message', ({data}) => data.id &&
          window.traffic.push(['in', data.id, 'dropped' in data ? 'dropped' : 'progress' in data ? 'progress' : 'answer']));
      }
      postMessage(message) {
        const op = message.request ? JSON.parse(message.request).op : 'cancel';
        window.traffic.push(['out', message.id, op]);
        const send = () => super.postMessage(message);
        return delayed[op] ? void setTimeout(send, delayed[op]) : send();
      }
    };
  }, delayed);
}

// The report and the press's results as text.
const report = (page) => page.evaluate(() => document.getElementById('AnalysisReport').innerText);

test('two analyses in a row: only the newest is shown, and the press between them is answered', async () => {
  const page = await open(browser, {prepare: (p) => spy(p)});
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  await click(page, 'AnalyseCalc');
  await page.evaluate(() => {
    window.reportsDrawn = 0;
    window.traffic = [];
    const change = (id, value) => {
      document.getElementById(id).value = value;
      document.getElementById(id).dispatchEvent(new Event('change'));
    };
    change('Spec', '0.5');
    document.getElementById('Text1(2)').value = '45';
    document.getElementById('Command1').click();
    change('Spec', '4.5');
  });
  await settled(page);
  const traffic = await page.evaluate(() => window.traffic);
  const sent = traffic.filter(([way]) => way === 'out');
  // Two analyses, the press, and the analysis that follows the press's new design.
  assert.deepEqual(sent.map(([, , op]) => op), ['analyse', 'press', 'analyse', 'analyse']);
  const press = sent[1][1];
  assert.deepEqual(traffic.filter(([way, id]) => way === 'in' && id === press), [['in', press, 'answer']]);
  assert.equal(await page.evaluate(() => window.reportsDrawn), 1, 'one report drawn, the newest');

  // The same design and spec analysed alone shows the same report and results.
  const alone = await open(browser);
  await pressTab(alone, 'calc', {diode: 'no', texts: ['10000', '2.5', '45', '30', '']});
  await click(alone, 'AnalyseCalc');
  await alone.evaluate(() => {
    document.getElementById('Spec').value = '4.5';
    document.getElementById('Spec').dispatchEvent(new Event('change'));
  });
  await settled(alone);
  const results = ['Label2(0)', 'Label2(1)', 'Label2(2)'];
  assert.deepEqual(await texts(page, results), await texts(alone, results));
  assert.equal(await report(page), await report(alone));
  assert.deepEqual(page.errors, []);
  await Promise.all([page.close(), alone.close()]);
});

test('the analysis is busy while it waits, says "Working…" after a moment, and is clear after', async () => {
  const page = await open(browser, {prepare: (p) => spy(p, {analyse: 900})});
  await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
  const busy = () => page.evaluate(() => {
    const status = document.getElementById('AnalysisStatus');
    return [document.getElementById('Analysis').getAttribute('aria-busy'), status.textContent,
            status.checkVisibility(), status.getAttribute('role')];
  });
  await page.evaluate(() => document.getElementById('AnalyseCalc').click());
  assert.deepEqual(await busy(), ['true', '', false, 'status'], 'busy at once, quiet at first');
  await new Promise((wake) => setTimeout(wake, 500));
  assert.deepEqual(await busy(), ['true', 'Working\u2026', true, 'status'], 'says so after a moment');
  await settled(page);
  assert.deepEqual(await busy(), [null, '', false, 'status'], 'clear when the answer is in');
  assert.match(await report(page), /Preferred values/);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('offline from the file: the worker is made from the page\'s own text, nothing is fetched', async () => {
  const fetched = [];
  const page = await open(browser, {prepare: async (p) => {
    p.on('request', (request) => fetched.push(request.url()));
    await spy(p);
  }});
  await pressTab(page, 'calc', {diode: 'yes', texts: ['10000', '2.5', '40', '30', '0.6']});
  await click(page, 'AnalyseCalc');
  assert.ok(PageUrl.startsWith('file://'));
  assert.equal(await page.evaluate(() => navigator.onLine), false);
  assert.match(await page.evaluate(() => window.workerUrl), /^data:text\/javascript,/);
  assert.deepEqual(await texts(page, ['Label2(0)', 'Label2(1)']), ['24286', '1360']);
  assert.deepEqual(fetched.filter((url) => !/^(file|blob|data):/.test(url)), []);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('at 1280 px the preferred pairs\' table fits; at 360 px its rows stack and fit too', async () => {
  // width, whether the table scrolls inside its region
  for (const [width, scrolls] of [[1280, false], [360, false]]) {
    const page = await open(browser, {width});
    await pressTab(page, 'calc', {diode: 'no', texts: NoDiode});
    await click(page, 'AnalyseCalc');
    const [inner, region, page_, view] = await page.evaluate(() => {
      const region = document.querySelector('table[data-section="Preferred values"]').parentElement;
      return [region.scrollWidth, region.clientWidth, document.documentElement.scrollWidth,
              document.documentElement.clientWidth];
    });
    assert.equal(inner > region, scrolls, `${width} px: table ${inner} in ${region}`);
    assert.ok(page_ <= view, `${width} px: the page does not scroll sideways`);
    await page.close();
  }
});
