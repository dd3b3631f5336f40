// Start-up: the settings made from the table the page holds, the form put in its start state and
// wired, and only then the core's worker made, so that the page shows and takes input first.
import {applyLink, formLoad, wireCalculator} from './calculator.js';
import {coreReady, startCore} from './core_client.js';
import {byId, guarded} from './dom.js';
import {wireAnalysis} from './analysis.js';
import {wireMessageBox} from './message_box.js';
import {makeSettings} from './settings_view.js';
import {copyText} from './share_link.js';
import {wireTabStrip} from './tab_strip.js';

function wireForm() {
  wireTabStrip();
  wireCalculator();
  wireMessageBox();
  wireAnalysis();
  for (const button of document.querySelectorAll('.copy-link')) {
    button.addEventListener('click', () => copyText(location.href, 'Link'));
  }
}

// The page is ready once the core is in and a link's design, if any, is pressed; the tests and
// the benchmark wait for <html data-ready> or the event.
async function whenReady() {
  const linkPressed = applyLink();
  await coreReady;
  await linkPressed;
  document.documentElement.dataset.ready = 'true';
  document.dispatchEvent(new Event('orvalex-ready'));
}

makeSettings(JSON.parse(byId('SettingsTable').textContent || '{}'));
formLoad();
wireForm();
document.documentElement.dataset.usable = 'true';
const startWorker = () => {
  startCore();
  guarded(whenReady)();
};
if (document.readyState === 'loading') {
  document.addEventListener('DOMContentLoaded', () => setTimeout(startWorker));
} else {
  startWorker();
}
