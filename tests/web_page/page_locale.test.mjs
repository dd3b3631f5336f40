// Number entry follows the browser's language: its decimal and group separators reach the core.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {launch, open, pressTab, texts} from './page_fixture.mjs';

const Narrow = '\u202f';
// language, what it writes, the press, its message, and the results
const rows = [
  ['de-DE', ',', 'calc', ['10000', '2,5', '40', '30', ''], null, ['64955', '7210', '35']],
  ['de-DE', ',', 'calc', ['10.000', '2,5', '40', '30', ''], null, ['64955', '7210', '35']],
  ['de-DE', ',', 'check', ['470', '10', '100', '1,2', ''], null, ['63', '60', '57', '3,0']],
  ['fr-FR', ',', 'calc', [`10${Narrow}000`, '2,5', '40', '30', ''], null, ['64955', '7210', '35']],
  ['fr-FR', ',', 'check', [`1${Narrow}000`, '10', '100', '1,2', ''], null, ['132', '126', '121', '6,0']],
  ['en-US', '.', 'calc', ['10,000', '2.5', '40', '30', ''], null, ['64955', '7210', '35']],
];

for (const lang of ['de-DE', 'fr-FR', 'en-US']) {
  test(`${lang}: numbers are typed and shown with the language's separators`, async () => {
    const browser = await launch({lang});
    try {
      const page = await open(browser);
      const [decimal, group] = await page.evaluate(() => ['decimal', 'group'].map((type) =>
        new Intl.NumberFormat(navigator.language).formatToParts(12345.5).find((p) => p.type === type).value));
      assert.equal(group, {'de-DE': '.', 'fr-FR': Narrow, 'en-US': ','}[lang]);
      for (const [language, separator, tab, inputs, expected, results] of rows) {
        if (language !== lang) {
          continue;
        }
        assert.equal(decimal, separator, 'the browser runs in the language');
        assert.equal(await pressTab(page, tab, {diode: 'no', texts: inputs}), expected, inputs.join('|'));
        const labels = tab === 'calc' ? ['Label2(0)', 'Label2(1)', 'Label2(2)']
                                      : ['Label3(0)', 'Label3(1)', 'Label3(2)', 'Label3(3)'];
        assert.deepEqual(await texts(page, labels), results, inputs.join('|'));
      }
      assert.deepEqual(page.errors, []);
    } finally {
      await browser.close();
    }
  });
}
