// The analysis settings and the fit's typed pair, made from the fields the core describes: one
// maker and one reader a kind of field, so that a new kind is one more entry of FieldKinds. A
// number box holds its value within its limits and decimals, as the window's spin box does. The
// boxes of lists, resistances and whole numbers are read by the core: a text it refuses shows its
// sentence and changes nothing, and the value last read stays.
import {ask} from './core_client.js';
import {byId, element, guarded, inputById} from './dom.js';
import {Keys} from './protocol.js';
import {state} from './state.js';

/** @typedef {import('./protocol_types').Field} Field */
/** @typedef {import('./protocol_types').NumberField} NumberField */
/** @typedef {import('./protocol_types').ChoiceField} ChoiceField */
/** @typedef {import('./protocol_types').FlagField} FlagField */
/** @typedef {import('./protocol_types').OptionalNumberField} OptionalNumberField */
/** @typedef {import('./protocol_types').SettingsTable} SettingsTable */
/** @typedef {import('./protocol_types').SettingValue} SettingValue */
/** @typedef {import('./protocol_types').SettingValues} SettingValues */
/** @typedef {import('./protocol_types').ReadSettingResponse} ReadSettingResponse */
/** @typedef {HTMLInputElement | HTMLSelectElement | HTMLTextAreaElement} Control */

const helpId = (/** @type {Field} */ field) => `Help${field[Keys.Id]}`;
const problemId = (/** @type {Field} */ field) => `Problem${field[Keys.Id]}`;
const noticeId = (/** @type {Field} */ field) => `Notice${field[Keys.Id]}`;
const control = (/** @type {Field} */ field) => /** @type {Control} */ (byId(field[Keys.Id]));

/**
 * A box's value held within its limits and decimals; text that is no number gives the fallback.
 * @param {HTMLInputElement} input
 * @param {number} fallback
 */
export function boxValue(input, fallback) {
  let value = Number(input.value);
  if (input.value.trim() === '' || !Number.isFinite(value)) {
    value = fallback;
  }
  value = Math.min(Number(input.max), Math.max(Number(input.min), value));
  value = Number(value.toFixed(Number(input.dataset.decimals)));
  if (String(value) !== input.value) {
    input.value = String(value);
  }
  return value;
}

/**
 * The label and the control; with `units`, the "±" before the control and the unit after it. A
 * box the core reads has a line for its refusal below, its error message while it is invalid.
 * @param {Field} field
 * @param {HTMLElement} box
 * @param {{units: boolean, wide?: boolean, readByCore?: boolean}} kind
 */
function settingRow(field, box, kind) {
  box.id = field[Keys.Id];
  box.dataset.key = field[Keys.Key];
  if (field[Keys.Help]) {
    box.setAttribute('aria-describedby', helpId(field));
    box.title = field[Keys.Help];
  }
  const label = element('label', '', field[Keys.Label]);
  label.htmlFor = field[Keys.Id];
  const row = element('div', kind.wide ? 'setting wide' : 'setting');
  if (kind.units) {
    row.append(label, element('span', 'unit', field[Keys.PlusMinus] ? '\u00b1' : ''), box,
               element('span', 'unit', field[Keys.Unit]));
  } else {
    row.append(label, box);
  }
  if (kind.readByCore) {
    const problem = element('p', 'problem');
    problem.id = problemId(field);
    problem.hidden = true;
    row.append(problem);
    box.setAttribute('aria-errormessage', problem.id);
  }
  if (kind.wide) {
    // What the analysis says of a list given but not used.
    const notice = element('p', 'notice');
    notice.id = noticeId(field);
    notice.hidden = true;
    row.append(notice);
  }
  return row;
}

/** @param {NumberField | OptionalNumberField} field */
function numberControl(field) {
  const input = element('input');
  input.type = 'number';
  input.min = String(field[Keys.Lowest]);
  input.max = String(field[Keys.Highest]);
  input.step = (10 ** -field[Keys.Decimals]).toFixed(field[Keys.Decimals]);
  input.dataset.decimals = String(field[Keys.Decimals]);
  const fallback = field[Keys.Default];
  if (fallback !== null) {
    input.defaultValue = String(fallback);
  }
  return input;
}

/** @param {ChoiceField} field */
function choiceControl(field) {
  const select = element('select');
  for (const name of field[Keys.Choices]) {
    const choice = element('option', '', name);
    choice.defaultSelected = name === field[Keys.Default];
    select.append(choice);
  }
  return select;
}

// A box of text the core reads: a resistance ("4k7") or a whole number.
/** @param {Field} field */
function textControl(field) {
  const input = element('input');
  input.type = 'text';
  input.autocomplete = 'off';
  input.spellcheck = false;
  input.inputMode = field[Keys.Kind] === Keys.KindWhole ? 'numeric' : 'text';
  input.defaultValue = String(field[Keys.Default] ?? '');
  return input;
}

// A list, one entry a line.
/** @param {Field} field */
function listControl(field) {
  const area = element('textarea');
  area.rows = 4;
  area.spellcheck = false;
  area.defaultValue = String(field[Keys.Default] ?? '');
  return area;
}

/** @param {NumberField} field */
function readNumber(field) {
  const input = inputById(field[Keys.Id]);
  return boxValue(input, Number(input.defaultValue));
}

/** @param {ChoiceField} field */
function readChoice(field) {
  return /** @type {HTMLSelectElement} */ (byId(field[Keys.Id])).value;
}

// A check box, on as the default says.
/** @param {Field} field */
function flagControl(field) {
  const box = element('input');
  box.type = 'checkbox';
  box.defaultChecked = /** @type {FlagField} */ (field)[Keys.Default];
  return box;
}

/** @param {Field} field */
function readFlag(field) {
  return inputById(field[Keys.Id]).checked;
}

// The value the core last read from the box; undefined until then, which leaves the setting at
// the core's default.
/** @param {Field} field */
function readKept(field) {
  return state.settingValues[field[Keys.Key]];
}

// Each kind's maker of a control, reader of its value for the request, whether the control stands
// between its "±" and its unit, takes a row of its own, and is read by the core.
/**
 * @typedef {object} FieldKind
 * @property {(field: any) => HTMLElement} make
 * @property {(field: any) => SettingValue | undefined} read
 * @property {boolean} units
 * @property {boolean} [wide]
 * @property {boolean} [readByCore]
 */
/** @type {Record<string, FieldKind>} */
const FieldKinds = {
  [Keys.KindNumber]: {make: numberControl, read: readNumber, units: true},
  [Keys.KindChoice]: {make: choiceControl, read: readChoice, units: false},
  [Keys.KindFlag]: {make: flagControl, read: readFlag, units: false},
  [Keys.KindOptionalNumber]: {make: textControl, read: readKept, units: true, readByCore: true},
  [Keys.KindWhole]: {make: textControl, read: readKept, units: true, readByCore: true},
  [Keys.KindList]: {make: listControl, read: readKept, units: false, wide: true, readByCore: true},
};

/** @param {Field} field */
function kindOf(field) {
  const kind = FieldKinds[field[Keys.Kind]];
  if (!kind) {
    throw new Error(`"${field[Keys.Id]}" is of a kind the page does not know: ${field[Keys.Kind]}`);
  }
  return kind;
}

/** @param {Field} field */
const makeField = (field) => settingRow(field, kindOf(field).make(field), kindOf(field));

// Every setting's help, also the description and tooltip of its control.
/** @param {Field[]} fields */
function helpList(fields) {
  const list = element('dl');
  for (const field of fields.filter((f) => f[Keys.Help])) {
    const help = element('dd', '', field[Keys.Help]);
    help.id = helpId(field);
    list.append(element('dt', '', field[Keys.Label]), help);
  }
  const details = element('details', 'help');
  details.append(element('summary', '', 'About these settings'), list);
  return details;
}

// Makes the settings' and the fit's inputs from the table the page holds.
/** @param {SettingsTable} table */
export function makeSettings(table) {
  state.settingFields = table[Keys.Settings];
  const settings = byId('AnalysisSettings');
  settings.append(...state.settingFields.map(makeField), helpList(state.settingFields));
  const fit = table[Keys.Fit];
  state.fitRankKey = fit[Keys.Rank][Keys.Key];
  const fitButtons = byId('FitButtons');
  // Number boxes in ohms, R2's left empty for the design's own.
  for (const field of fit[Keys.Typed]) {
    fitButtons.before(settingRow(field, numberControl(field), {units: true}));
    if (field[Keys.Kind] === Keys.KindNumber) {
      state.fitShown[field[Keys.Id]] = 0;
    } else {
      state.fitOptional.push(field[Keys.Id]);
    }
  }
}

/**
 * Shows or clears the core's sentence for a box it refused.
 * @param {Field} field
 * @param {string} problem empty when the box was read
 */
function showProblem(field, problem) {
  const line = byId(problemId(field));
  line.textContent = problem;
  line.hidden = !problem;
  const box = control(field);
  if (problem) {
    box.setAttribute('aria-invalid', 'true');
  } else {
    box.removeAttribute('aria-invalid');
  }
}

/**
 * Has the core read a box's text: true when it took it, and its value is kept.
 * @param {Field} field
 */
async function commitField(field) {
  /** @type {ReadSettingResponse} */
  const answer = await ask({[Keys.Op]: Keys.OpReadSetting, [Keys.Key]: field[Keys.Key],
                            [Keys.Text]: control(field).value});
  if (Keys.Problem in answer) {
    showProblem(field, answer[Keys.Problem]);
    return false;
  }
  showProblem(field, '');
  state.settingValues[field[Keys.Key]] = answer[Keys.Value];
  return true;
}

// Calls `changed` after a setting's box changed: at once for a number or choice, once the core
// has read it for the others, and not when it refused it.
/** @param {() => unknown} changed */
export function wireSettings(changed) {
  for (const field of state.settingFields) {
    const readByCore = kindOf(field).readByCore;
    control(field).addEventListener('change', guarded(async () => {
      if (!readByCore || await commitField(field)) {
        await changed();
      }
    }));
  }
}

/** @returns {SettingValues} */
export function readSettings() {
  /** @type {SettingValues} */
  const settings = {};
  for (const field of state.settingFields) {
    const value = kindOf(field).read(field);
    if (value !== undefined) {
      settings[field[Keys.Key]] = value;
    }
  }
  return settings;
}

/**
 * Puts settings into the boxes: their texts as the boxes show them, and the values the core read
 * for the boxes it reads. A key that is not given leaves its box.
 * @param {SettingValues} values
 * @param {Record<string, string>} texts
 */
export function showSettings(values, texts) {
  for (const field of state.settingFields) {
    const key = field[Keys.Key];
    if (!(key in texts)) {
      continue;
    }
    if (field[Keys.Kind] === Keys.KindFlag) {
      inputById(field[Keys.Id]).checked = texts[key] === 'yes';
    } else {
      control(field).value = texts[key];
    }
    if (kindOf(field).readByCore) {
      state.settingValues[key] = values[key];
      showProblem(field, '');
    } else if (field[Keys.Kind] === Keys.KindNumber) {
      readNumber(/** @type {NumberField} */ (field));
    }
  }
}

// The boxes' texts and the values the core read from them, to be shown again as they are.
export function settingsSnapshot() {
  const text = (/** @type {Field} */ field) => (field[Keys.Kind] === Keys.KindFlag ?
    (readFlag(field) ? 'yes' : 'no') : control(field).value);
  return {texts: Object.fromEntries(state.settingFields.map((field) => [field[Keys.Key],
                                                                         text(field)])),
          values: {...state.settingValues}};
}

/**
 * Whether the number boxes hold these values, as a fitted build's grade set them.
 * @param {Record<string, number>} numbers
 */
export function settingsHold(numbers) {
  const byKey = new Map(state.settingFields.map((field) => [field[Keys.Key], field]));
  return Object.entries(numbers).every(([key, value]) => {
    const field = byKey.get(key);
    return field !== undefined && Number(control(field).value) === value;
  });
}

/**
 * The number boxes' values of these keys.
 * @param {string[]} keys
 */
export function settingNumbers(keys) {
  const byKey = new Map(state.settingFields.map((field) => [field[Keys.Key], field]));
  /** @type {Record<string, number>} */
  const numbers = {};
  for (const key of keys) {
    const field = byKey.get(key);
    if (field) {
      numbers[key] = Number(control(field).value);
    }
  }
  return numbers;
}

/**
 * Says beside each list what the analysis says of it (a parts list that nothing uses); the other
 * lists' lines go.
 * @param {Record<string, string>} notices by the setting's key
 */
export function showNotices(notices) {
  for (const field of state.settingFields.filter((f) => kindOf(f).wide)) {
    const notice = byId(noticeId(field));
    notice.textContent = notices[field[Keys.Key]] || '';
    notice.hidden = !notice.textContent;
  }
}

/**
 * A build's grade takes its tolerance and TCR into the number boxes of their keys.
 * @param {Record<string, number>} numbers
 */
export function showSettingNumbers(numbers) {
  const texts = Object.fromEntries(Object.entries(numbers).map(([key, value]) => [key, String(value)]));
  showSettings({}, texts);
}

// The settings used with the diode only are off without it.
/** @param {boolean} diode */
export function showDiodeSettings(diode) {
  for (const field of state.settingFields.filter((f) => f[Keys.DiodeOnly])) {
    control(field).disabled = !diode;
  }
}

// The typed boxes show the pair analysed, so that a tweak starts from there; R2 only when the fit
// has one of its own, else it stays empty, the design's.
/** @param {{[key: string]: number}} pair R1, R3 and R2 under the fit's keys */
export function showFitPair(pair) {
  for (const id of Object.keys(state.fitShown)) {
    const input = inputById(id);
    const value = pair[/** @type {string} */ (input.dataset.key)];
    state.fitShown[id] = value;
    input.value = String(value);
    boxValue(input, value);
  }
  for (const id of state.fitOptional) {
    const input = inputById(id);
    const value = pair[/** @type {string} */ (input.dataset.key)];
    input.value = value === undefined ? '' : String(value);
  }
}

// The typed pair as the fit's request member: {r1, r3}, each held within its box's limits, and
// R2 when its box holds one.
export function typedFit() {
  /** @type {{[key: string]: number}} */
  const fit = {};
  for (const [id, shown] of Object.entries(state.fitShown)) {
    const input = inputById(id);
    fit[/** @type {string} */ (input.dataset.key)] = boxValue(input, shown);
  }
  for (const id of state.fitOptional) {
    const input = inputById(id);
    if (input.value.trim() !== '' && Number.isFinite(Number(input.value))) {
      fit[/** @type {string} */ (input.dataset.key)] = boxValue(input, 0);
    } else {
      input.value = '';
    }
  }
  return fit;
}
