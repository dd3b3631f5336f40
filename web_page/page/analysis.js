// The design analysis of a tab's recorded design: asked of the core with the settings, the fit and
// the synthesis of the part grades, and the yield when it is ticked; shown as the report and the
// plot. The region is busy while an analysis is under way, and says so after a moment; a yield
// shows its progress and can be cancelled, which leaves the report shown; a newer analysis takes
// the place of one still under way.
import {TabControls, Tabs} from './controls.js';
import {ask} from './core_client.js';
import {designChanged} from './design_document.js';
import {byId, guarded, inputById} from './dom.js';
import {recordState, resetHistory, stepBack, stepForward} from './history.js';
import {separators} from './number_locale.js';
import {renderPlot} from './plot_view.js';
import {Keys} from './protocol.js';
import {renderReport} from './report_view.js';
import {readSettings, settingNumbers, settingsHold, settingsSnapshot, showDiodeSettings,
        showFitPair, showNotices, showSettingNumbers, showSettings, typedFit,
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
/** @typedef {import('./history').AnalysisState} AnalysisState */

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

/** @returns {AnalysisState} */
function analysisState() {
  return {...settingsSnapshot(), fit: state.fit, beforeFit: state.beforeFit};
}

// A change of the settings or the fit: a step to undo, and a change of the open design when the
// analysis shows its tab.
function recordChange() {
  if (recordState(analysisState()) && state.analysisTab) {
    designChanged(state.analysisTab);
  }
}

// A row's fit changes only the settings its grade brings in: those go back as they were.
function returnFitSettings() {
  if (state.beforeFit) {
    showSettingNumbers(state.beforeFit);
    state.beforeFit = null;
  }
}

// The design as it is, without the fit or what it changed, as a step to undo.
function dropFit() {
  if (state.fit || state.beforeFit) {
    returnFitSettings();
    state.fit = null;
    recordChange();
  }
}

/**
 * Shows the analysis of the tab's design; true when this answer is the one shown.
 * @param {TabKey} tab
 */
export async function showAnalysis(tab) {
  if (tab !== state.analysisTab) {
    dropFit(); // a fit belongs to the other tab's design
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
  showNotices(answer[Keys.Notices]);
  state.reportText = answer[Keys.Text];
  state.bomCsv = answer[Keys.BomCsv];
  /** @type {HTMLButtonElement} */ (byId('DownloadBom')).disabled = state.bomCsv === null;
  renderPlot(answer[Keys.Plot]);
}

const reanalyse = () =>
  state.analysisTab ? showAnalysis(state.analysisTab) : Promise.resolve(false);

/** @param {FitChoice | null} choice */
function fitAndShow(choice) {
  state.fit = choice;
  recordChange();
  return reanalyse();
}

// A row chosen to fit: its grade's tolerance and TCR into the boxes, the boxes' values before the
// first such fit kept for going back, then its pair or build.
/** @param {RowFit} row */
function fitRow(row) {
  const numbers = row[Keys.Settings];
  if (!state.beforeFit && !settingsHold(numbers)) {
    state.beforeFit = settingNumbers(Object.keys(numbers));
  }
  showSettingNumbers(numbers);
  return fitAndShow(row[Keys.Fit]);
}

// As designed: the design's own R1 and R3, and every setting a fit changed as it was.
function asDesigned() {
  returnFitSettings();
  return fitAndShow(null);
}

/** @param {AnalysisState} step a state undone or redone */
function applyState(step) {
  showSettings(step.values, step.texts);
  state.fit = step.fit;
  state.beforeFit = step.beforeFit;
  if (state.analysisTab) {
    designChanged(state.analysisTab);
  }
  return reanalyse();
}

// Ctrl+Z and Ctrl+Shift+Z while the analysis is shown, as the window has them; a box of text
// being typed (a list, R2's range, the calculator's boxes) keeps its own.
/** @param {KeyboardEvent} event */
function undoKeys(event) {
  if (!(event.ctrlKey || event.metaKey) || event.altKey || event.key.toLowerCase() !== 'z' ||
      byId('Analysis').hidden) {
    return;
  }
  const target = event.target;
  if (target instanceof HTMLTextAreaElement ||
      (target instanceof HTMLInputElement && target.type === 'text')) {
    return;
  }
  event.preventDefault();
  const step = event.shiftKey ? stepForward() : stepBack();
  if (step) {
    guarded(applyState)(step);
  }
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
  if (opened) {
    state.fit = opened.fit;
    state.beforeFit = null;
    state.analysisTab = tab;
    resetHistory(analysisState());
  } else if (state.analysisTab === tab) {
    dropFit(); // a new CAL: its design as it is
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
  wireSettings(() => {
    recordChange();
    return reanalyse();
  });
  byId('EstimateYield').addEventListener('change', guarded(() => {
    if (state.analysisTab) {
      designChanged(state.analysisTab);
    }
    return reanalyse();
  }));
  byId('CancelYield').addEventListener('click', cancelYield);
  byId('FitTyped').addEventListener('click', guarded(() => fitAndShow(typedFit())));
  byId('AsDesigned').addEventListener('click', guarded(asDesigned));
  document.addEventListener('keydown', undoKeys);
  resetHistory(analysisState()); // the settings as the page starts: the first step back
  byId('CloseAnalysis').addEventListener('click', () => {
    byId('Analysis').hidden = true;
    if (state.analysisTab) {
      byId(TabControls[state.analysisTab].analyse).focus();
    }
  });
  byId('CopyAnalysis').addEventListener('click', () => copyText(state.reportText, 'Analysis'));
}
