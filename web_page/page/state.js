// The one object of state the page's modules share; each module changes only the members it
// owns, named below, and calls the owner's functions for the rest.

/** @typedef {import('./protocol_types').TabKey} TabKey */
/** @typedef {import('./protocol_types').FitChoice} FitChoice */
/** @typedef {import('./protocol_types').Field} Field */

export const state = {
  // calculator.js: what each tab's last recorded press recorded (its diode), for the analysis.
  /** @type {Record<TabKey, {diode: boolean} | null>} */
  recorded: {calc: null, check: null},
  // analysis.js: the tab whose design the analysis shows, and the pair analysed as fitted:
  // null (as designed), {pair: rank} or {r1, r3}. The fit belongs to the analysed tab's design
  // and is dropped at that tab's next CAL.
  /** @type {TabKey | null} */
  analysisTab: null,
  /** @type {FitChoice | null} */
  fit: null,
  // analysis.js: the whole report as text, for Copy; the bill of materials of the build to buy,
  // when there is one; the analyses not yet answered.
  reportText: '',
  /** @type {string | null} */
  bomCsv: null,
  analysesWaiting: 0,
  // settings_view.js: the settings' fields and the fit's, as the core described them.
  /** @type {Field[]} */
  settingFields: [],
  // settings_view.js: the fit's member that names a preferred pair by its rank.
  fitRankKey: '',
  // settings_view.js: the R1 and R3 the fit boxes last showed, which an empty or unreadable box
  // keeps; the fit's boxes that may stay empty (R2).
  /** @type {Record<string, number>} */
  fitShown: {},
  /** @type {string[]} */
  fitOptional: [],
  // settings_view.js: the value the core last read from each box it reads (lists, resistances,
  // whole numbers), by the setting's key; a setting not yet read is the core's default.
  /** @type {import('./protocol_types').SettingValues} */
  settingValues: {},
  // analysis.js: cancels the analysis whose yield is under way.
  /** @type {AbortController | null} */
  yieldRun: null,
  // design_files.js: the design file's extension, as the core names it; each tab's note and file
  // name, from the file last opened on it.
  designExtension: '',
  // The largest design file the core reads, as it says; a file's first bytes past that are
  // enough for it to refuse the file, and a huge file is never read whole.
  designFileBytes: 0,
  /** @type {Record<TabKey, {note: string, name: string}>} */
  files: {calc: {note: '', name: ''}, check: {note: '', name: ''}},
  // design_document.js: the file last opened or saved, its tab, and whether its design changed
  // since; null before.
  /** @type {{tab: TabKey, name: string, modified: boolean} | null} */
  document: null,
  // analysis.js: the settings a row's fit changed, as they were before it (by the settings' keys),
  // which As designed and the tab's next CAL give back; null when no fit changed one.
  /** @type {Record<string, number> | null} */
  beforeFit: null,
};
