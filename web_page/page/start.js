// Start-up: the calculator put in its start state and wired as soon as it is read, so that the
// page takes input first; then the analysis settings made from the table the page holds (they
// stay hidden until a press has recorded a design, which needs the core), the design files, the
// report's download and the core's worker.
import {applyLink, formLoad, wireCalculator} from './calculator.js';
import {coreReady, startCore} from './core_client.js';
import {byId, guarded} from './dom.js';
import {wireAnalysis} from './analysis.js';
import {wireDesignDocument} from './design_document.js';
import {wireDesignFiles} from './design_files.js';
import {wireReportDownload} from './report_download.js';
import {wireMessageBox} from './message_box.js';
import {Keys} from './protocol.js';
import {makeSettings} from './settings_view.js';
import {copyText} from './share_link.js';
import {wireTabStrip} from './tab_strip.js';

function wireForm() {
  wireTabStrip();
  wireCalculator();
  wireMessageBox();
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

// Once the whole page is read: the core's text is there for the worker, which makes the core on
// its own thread while the page is first drawn. Started earlier, from the head, the worker took
// the page longer to become usable and brought the core in no sooner: its thread's start is what
// takes the time.
/** @param {import('./protocol_types').SettingsTable} table */
function startAnalysisAndCore(table) {
  startCore();
  makeSettings(table);
  wireAnalysis();
  wireReportDownload();
  wireDesignFiles(table[Keys.Extension], table[Keys.DesignFileBytes]);
  wireDesignDocument();
  guarded(whenReady)();
}

// The core's table, which the page holds before its script: the settings, the fit's fields and
// the diode layouts.
const settingsTable = JSON.parse(byId('SettingsTable').textContent || '{}');
formLoad(settingsTable);
wireForm();
document.documentElement.dataset.usable = 'true';
if (document.readyState === 'loading') {
  document.addEventListener('DOMContentLoaded', () => startAnalysisAndCore(settingsTable));
} else {
  startAnalysisAndCore(settingsTable);
}
