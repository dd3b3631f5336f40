// The design analysis of a tab's recorded design: asked of the core with the settings, the fit and
// the synthesis of the part grades, and the yield when it is ticked; shown as the report and the
// plot. The region is busy while an analysis is under way, and says so after a moment; a yield
// shows its progress and can be cancelled, which leaves the report shown; a newer analysis takes
// the place of one still under way.
import {TabControls, Tabs} from './controls.js';
import {ask} from './core_client.js';
import {byId, guarded, inputById} from './dom.js';
import {separators} from './number_locale.js';
import {renderPlot} from './plot_view.js';
import {Keys} from './protocol.js';
import {renderReport} from './report_view.js';
import {readSettings, showDiodeSettings, showFitPair, showSettingNumbers, typedFit,
        wireSettings} from './settings_view.js';
import {copyText} from './share_link.js';
import {state} from './state.js';

/** @typedef {import('./protocol_types').TabKey} TabKey */
/** @typedef {import('./protocol_types').FitChoice} FitChoice */
/** @typedef {import('./protocol_types').RowFit} RowFit */
/** @typedef {import('./protocol_types').YieldProgress} YieldProgress */
/** @typedef {import('./protocol_types').AnalyseRequest} AnalyseRequest */
/** @typedef {import('./protocol_types').AnalyseResponse} AnalyseResponse */
/** @typedef {import('./protocol_types').AnalysedResponse} AnalysedResponse */

// An answer within this time shows no status: the report just changes.
const WorkingDelayMs = 300;
const AnalysisLane = 'analysis';

// The newest analysis asked for, until its answer is in (or it is dropped).
const newest = {answer: /** @type {Promise<unknown>} */ (Promise.resolve(null))};

// Settles when the newest analysis asked for has its answer, shown or not.
export function analysisSettled() {
  return newest.answer.catch(() => null);
}

/** @param {YieldProgress} progress */
export function showProgress(progress) {
  const bar = /** @type {HTMLProgressElement} */ (byId('YieldProgress'));
  bar.max = progress[Keys.Boards];
  bar.value = progress[Keys.BoardsDone];
  bar.hidden = false;
  bar.setAttribute('aria-valuetext',
                   `${progress[Keys.BoardsDone]} of ${progress[Keys.Boards]} boards`);
  byId('CancelYield').hidden = !state.yieldRun;
  byId('AnalysisStatus').textContent = 'Estimating the yield\u2026';
}

function hideProgress() {
  byId('YieldProgress').hidden = true;
  byId('CancelYield').hidden = true;
}

/**
 * Marks the region busy until the answer is in, and says "Working…" when it takes a while.
 * @template T
 * @param {Promise<T>} answer
 * @returns {Promise<T>}
 */
export async function whileWorking(answer) {
  const region = byId('Analysis');
  state.analysesWaiting += 1;
  region.setAttribute('aria-busy', 'true');
  const timer = setTimeout(() => (byId('AnalysisStatus').textContent ||= 'Working\u2026'),
                           WorkingDelayMs);
  try {
    return await answer;
  } finally {
    clearTimeout(timer);
    state.analysesWaiting -= 1;
    if (state.analysesWaiting === 0) {
      region.removeAttribute('aria-busy');
      byId('AnalysisStatus').textContent = '';
      hideProgress();
    }
  }
}

/**
 * The analysis asked of the core: the shown tab's with the settings and fit, the synthesis always
 * (it is quick) and the yield when ticked.
 * @param {TabKey} tab
 * @returns {AnalyseRequest}
 */
export function analyseRequest(tab) {
  /** @type {AnalyseRequest} */
  const request = {[Keys.Op]: Keys.OpAnalyse, [Keys.Tab]: tab,
                   [Keys.Decimal]: separators().decimal, [Keys.Settings]: readSettings(),
                   [Keys.Synthesis]: true, [Keys.Yield]: inputById('EstimateYield').checked};
  return state.fit ? {...request, [Keys.Fit]: state.fit} : request;
}

/**
 * Shows the analysis of the tab's design; true when this answer is the one shown.
 * @param {TabKey} tab
 */
export async function showAnalysis(tab) {
  if (tab !== state.analysisTab) {
    state.fit = null; // a fit belongs to the other tab's design
  }
  state.analysisTab = tab;
  const request = analyseRequest(tab);
  byId('AnalysisTitle').textContent = `Design analysis \u2013 ${TabControls[tab].name} tab`;
  showDiodeSettings(Boolean(state.recorded[tab]?.diode));
  byId('Analysis').hidden = false;
  const run = request[Keys.Yield] ? new AbortController() : null;
  state.yieldRun = run;
  const asked = ask(request, {lane: AnalysisLane, signal: run?.signal, onProgress: showProgress});
  newest.answer = asked;
  /** @type {AnalyseResponse | null} */
  const answer = await whileWorking(asked);
  if (state.yieldRun === run) {
    state.yieldRun = null;
  }
  if (!answer || !answer[Keys.Recorded]) {
    return false;
  }
  showAnswer(/** @type {AnalysedResponse} */ (answer));
  return true;
}

// A row is the one fitted when the core says so of what it analysed.
/** @param {RowFit} row */
const isFitted = (row) => row[Keys.Fitted];

/** @param {AnalysedResponse} answer */
function showAnswer(answer) {
  const analysed = answer[Keys.Analysed];
  if (analysed) {
    showFitPair(analysed);
  }
  renderReport(answer[Keys.Report], isFitted, guarded(fitRow));
  state.reportText = answer[Keys.Text];
  renderPlot(answer[Keys.Plot]);
}

/** @param {FitChoice | null} choice */
function fitAndShow(choice) {
  state.fit = choice;
  return state.analysisTab ? showAnalysis(state.analysisTab) : Promise.resolve(false);
}

// A row chosen to fit: its grade's tolerance and TCR into the boxes, then its pair or build.
/** @param {RowFit} row */
function fitRow(row) {
  showSettingNumbers(row[Keys.Settings]);
  return fitAndShow(row[Keys.Fit]);
}

/**
 * A tab's press recorded a design: its analysis can be opened, and an open one follows it. A
 * design opened from a file opens the analysis with the file's fit.
 * @param {TabKey} tab
 * @param {boolean} diode
 * @param {{fit: FitChoice | null} | null} [opened]
 */
export async function designRecorded(tab, diode, opened = null) {
  state.recorded[tab] = {diode};
  if (state.analysisTab === tab || opened) {
    state.fit = opened ? opened.fit : null; // a new CAL: its design as it is
    state.analysisTab = opened ? tab : state.analysisTab;
  }
  /** @type {HTMLButtonElement} */ (byId(TabControls[tab].analyse)).disabled = false;
  if (opened) {
    await openAnalysis(tab);
  } else if (state.analysisTab === tab && !byId('Analysis').hidden) {
    await showAnalysis(tab);
  }
}

/** @param {TabKey} tab */
async function openAnalysis(tab) {
  const shown = showAnalysis(tab);
  byId('AnalysisTitle').scrollIntoView({block: 'start'});
  byId('Series').focus({preventScroll: true});
  await shown;
}

// Cancel stops the yield and unticks it, so that the next change does not start it again; the
// report shown stays.
function cancelYield() {
  state.yieldRun?.abort();
  state.yieldRun = null;
  inputById('EstimateYield').checked = false;
  hideProgress();
}

export function wireAnalysis() {
  for (const tab of Tabs) {
    byId(TabControls[tab].analyse).addEventListener('click', guarded(() => openAnalysis(tab)));
  }
  const reanalyse = () => state.analysisTab && showAnalysis(state.analysisTab);
  wireSettings(reanalyse);
  byId('EstimateYield').addEventListener('change', guarded(reanalyse));
  byId('CancelYield').addEventListener('click', cancelYield);
  byId('FitTyped').addEventListener('click', guarded(() => fitAndShow(typedFit())));
  byId('AsDesigned').addEventListener('click', guarded(() => fitAndShow(null)));
  byId('CloseAnalysis').addEventListener('click', () => {
    byId('Analysis').hidden = true;
    if (state.analysisTab) {
      byId(TabControls[state.analysisTab].analyse).focus();
    }
  });
  byId('CopyAnalysis').addEventListener('click', () => copyText(state.reportText, 'Analysis'));
}
