// "Download report" and "Download bill of materials": the analysis shown as the one HTML document every front end writes, with the
// yield's histograms when it was estimated, dated today and with the name and note of the tab's
// design file. The core keeps the last yield it finished, so the document of the analysis shown needs no
// second run.
import {analyseRequest, analysisSettled, showProgress, whileWorking} from './analysis.js';
import {ask} from './core_client.js';
import {byId, downloadText, guarded} from './dom.js';
import {Keys} from './protocol.js';
import {state} from './state.js';

/** @typedef {import('./protocol_types').ReportHtmlRequest} ReportHtmlRequest */
/** @typedef {import('./protocol_types').ReportHtmlResponse} ReportHtmlResponse */

// Today in the user's time zone, as the command line dates its documents: "2025-12-31".
export function today() {
  const now = new Date();
  const two = (/** @type {number} */ n) => String(n).padStart(2, '0');
  return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
}

// After the analysis under way, whose yield the core then has at hand.
async function downloadReport() {
  await analysisSettled();
  const tab = state.analysisTab;
  if (!tab) {
    return;
  }
  /** @type {ReportHtmlRequest} */
  const request = {...analyseRequest(tab), [Keys.Op]: Keys.OpReportHtml, [Keys.Date]: today(),
                   [Keys.Note]: state.files[tab].note, [Keys.FileName]: state.files[tab].name};
  /** @type {ReportHtmlResponse | null} */
  const answer = await whileWorking(ask(request, {onProgress: showProgress}));
  if (answer && Keys.Html in answer) {
    const name = state.files[tab].name.replace(/\.[^.]*$/, '') || 'design';
    downloadText(answer[Keys.Html], `${name}-analysis.html`, 'text/html');
  }
}

// The bill of materials of the analysis shown, as the core wrote it.
function downloadBom() {
  const tab = state.analysisTab;
  if (!tab || state.bomCsv === null) {
    return;
  }
  const name = state.files[tab].name.replace(/\.[^.]*$/, '') || 'design';
  downloadText(state.bomCsv, `${name}-bom.csv`, 'text/csv');
}

export function wireReportDownload() {
  byId('DownloadReport').addEventListener('click', guarded(downloadReport));
  byId('DownloadBom').addEventListener('click', downloadBom);
}
