// The design analysis of a tab's recorded design: asked of the core with the settings and the fit,
// shown as the report and the plot. The region is busy while an analysis is under way, and says
// so after a moment; a newer analysis takes the place of one still waiting.
import {TabControls, Tabs} from './controls.js';
import {ask} from './core_client.js';
import {byId, guarded} from './dom.js';
import {separators} from './number_locale.js';
import {renderPlot} from './plot_view.js';
import {Keys} from './protocol.js';
import {renderReport} from './report_view.js';
import {readSettings, showDiodeSettings, showFitPair, typedFit} from './settings_view.js';
import {copyText} from './share_link.js';
import {state} from './state.js';

/** @typedef {import('./protocol_types').TabKey} TabKey */
/** @typedef {import('./protocol_types').FitChoice} FitChoice */
/** @typedef {import('./protocol_types').AnalyseResponse} AnalyseResponse */
/** @typedef {import('./protocol_types').AnalysedResponse} AnalysedResponse */

// An answer within this time shows no status: the report just changes.
const WorkingDelayMs = 300;
const AnalysisLane = 'analysis';

/**
 * Marks the region busy until the answer is in, and says "Working…" when it takes a while.
 * @template T
 * @param {Promise<T>} answer
 * @returns {Promise<T>}
 */
async function whileWorking(answer) {
  const region = byId('Analysis');
  state.analysesWaiting += 1;
  region.setAttribute('aria-busy', 'true');
  const timer = setTimeout(() => (byId('AnalysisStatus').textContent = 'Working\u2026'),
                           WorkingDelayMs);
  try {
    return await answer;
  } finally {
    clearTimeout(timer);
    state.analysesWaiting -= 1;
    if (state.analysesWaiting === 0) {
      region.removeAttribute('aria-busy');
      byId('AnalysisStatus').textContent = '';
    }
  }
}

// The preferred pair fitted by its rank, or 0.
function fittedRank() {
  return (state.fit && state.fit[state.fitRankKey]) || 0;
}

/** @param {TabKey} tab */
function analyseRequest(tab) {
  const request = {[Keys.Op]: Keys.OpAnalyse, [Keys.Tab]: tab,
                   [Keys.Decimal]: separators().decimal, [Keys.Settings]: readSettings()};
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
  /** @type {AnalyseResponse | null} */
  const answer = await whileWorking(ask(request, {lane: AnalysisLane}));
  if (!answer || !answer[Keys.Recorded]) {
    return false;
  }
  showAnswer(/** @type {AnalysedResponse} */ (answer));
  return true;
}

/** @param {AnalysedResponse} answer */
function showAnswer(answer) {
  const rank = fittedRank();
  const analysed = answer[Keys.Analysed];
  if (analysed && (!state.fit || rank)) {
    showFitPair(analysed);
  }
  renderReport(answer[Keys.Report], rank,
               guarded((chosen) => fitAndShow({[state.fitRankKey]: chosen})));
  state.reportText = answer[Keys.Text];
  renderPlot(answer[Keys.Plot]);
}

/** @param {FitChoice | null} choice */
function fitAndShow(choice) {
  state.fit = choice;
  return state.analysisTab ? showAnalysis(state.analysisTab) : Promise.resolve(false);
}

/**
 * A tab's press recorded a design: its analysis can be opened, and an open one follows it.
 * @param {TabKey} tab
 * @param {boolean} diode
 */
export async function designRecorded(tab, diode) {
  state.recorded[tab] = {diode};
  if (state.analysisTab === tab) {
    state.fit = null; // a new CAL: its design as it is
  }
  /** @type {HTMLButtonElement} */ (byId(TabControls[tab].analyse)).disabled = false;
  if (state.analysisTab === tab && !byId('Analysis').hidden) {
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

export function wireAnalysis() {
  for (const tab of Tabs) {
    byId(TabControls[tab].analyse).addEventListener('click', guarded(() => openAnalysis(tab)));
  }
  const reanalyse = guarded(() => state.analysisTab && showAnalysis(state.analysisTab));
  for (const field of state.settingFields) {
    byId(field[Keys.Id]).addEventListener('change', reanalyse);
  }
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
