// Undo and redo of the analysis: its settings' boxes, the pair fitted and the settings a fit from
// a row changed, as whole states, one step a change, as the window keeps them.

/** @typedef {import('./protocol_types').FitChoice} FitChoice */
/** @typedef {import('./protocol_types').SettingValues} SettingValues */
/**
 * @typedef {object} AnalysisState
 * @property {Record<string, string>} texts the settings' boxes as they show them, by key
 * @property {SettingValues} values the values the core read from the boxes it reads
 * @property {FitChoice | null} fit
 * @property {Record<string, number> | null} beforeFit the settings a row's fit changed, as they were
 */

/** @type {AnalysisState[]} */
const past = [];
/** @type {AnalysisState[]} */
const future = [];
/** @type {AnalysisState | null} */
let current = null;

const same = (/** @type {AnalysisState} */ a, /** @type {AnalysisState} */ b) =>
  JSON.stringify(a) === JSON.stringify(b);

/**
 * Starts again from this state with nothing to undo, as when a design file is opened.
 * @param {AnalysisState} state
 */
export function resetHistory(state) {
  past.length = 0;
  future.length = 0;
  current = state;
}

/**
 * The state after a change: one step after the one before, unless it is the same; a step undone
 * can no longer be redone. True when it was a change.
 * @param {AnalysisState} state
 */
export function recordState(state) {
  if (current && same(current, state)) {
    return false;
  }
  if (current) {
    past.push(current);
  }
  future.length = 0;
  current = state;
  return true;
}

// The state a step back, or forward; null when there is none.
export function stepBack() {
  const state = past.pop();
  if (!state || !current) {
    return null;
  }
  future.push(current);
  current = state;
  return state;
}

export function stepForward() {
  const state = future.pop();
  if (!state || !current) {
    return null;
  }
  past.push(current);
  current = state;
  return state;
}
