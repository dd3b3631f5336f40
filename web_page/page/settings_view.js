// The analysis settings and the fit's typed pair, made from the fields the core describes: one
// maker and one reader a kind of field, so that a new kind is one more entry of FieldKinds. A
// number box holds its value within its limits and decimals, as the window's spin box does.
import {byId, element, inputById} from './dom.js';
import {Keys} from './protocol.js';
import {state} from './state.js';

/** @typedef {import('./protocol_types').Field} Field */
/** @typedef {import('./protocol_types').NumberField} NumberField */
/** @typedef {import('./protocol_types').ChoiceField} ChoiceField */
/** @typedef {import('./protocol_types').SettingsTable} SettingsTable */
/** @typedef {import('./protocol_types').SettingValues} SettingValues */

const plainLabel = (/** @type {Field} */ field) => field[Keys.Label].replace('&', '');
const helpId = (/** @type {Field} */ field) => `Help${field[Keys.Id]}`;

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
 * The label and the control; with `units`, the "±" before the control and the unit after it.
 * @param {Field} field
 * @param {HTMLElement} control
 * @param {boolean} units
 */
function settingRow(field, control, units) {
  control.id = field[Keys.Id];
  control.dataset.key = field[Keys.Key];
  if (field[Keys.Help]) {
    control.setAttribute('aria-describedby', helpId(field));
    control.title = field[Keys.Help];
  }
  const label = element('label', '', plainLabel(field));
  label.htmlFor = field[Keys.Id];
  const row = element('div', 'setting');
  if (units) {
    row.append(label, element('span', 'unit', field[Keys.PlusMinus] ? '\u00b1' : ''), control,
               element('span', 'unit', field[Keys.Unit]));
  } else {
    row.append(label, control);
  }
  return row;
}

/** @param {NumberField} field */
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

/** @param {NumberField} field */
function readNumber(field) {
  const input = inputById(field[Keys.Id]);
  return boxValue(input, Number(input.defaultValue));
}

/** @param {ChoiceField} field */
function readChoice(field) {
  return /** @type {HTMLSelectElement} */ (byId(field[Keys.Id])).value;
}

// Each kind's maker of a control, reader of its value for the request, and whether the control
// stands between its "±" and its unit.
/**
 * @type {Record<string, {make: (field: any) => HTMLElement, read: (field: any) => string | number,
 *                        units: boolean}>}
 */
const FieldKinds = {
  [Keys.KindNumber]: {make: numberControl, read: readNumber, units: true},
  [Keys.KindChoice]: {make: choiceControl, read: readChoice, units: false},
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
const makeField = (field) => settingRow(field, kindOf(field).make(field), kindOf(field).units);
/** @param {Field} field */
const readField = (field) => kindOf(field).read(field);

// Every setting's help, also the description and tooltip of its control.
/** @param {Field[]} fields */
function helpList(fields) {
  const list = element('dl');
  for (const field of fields.filter((f) => f[Keys.Help])) {
    const help = element('dd', '', field[Keys.Help]);
    help.id = helpId(field);
    list.append(element('dt', '', plainLabel(field)), help);
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
  for (const field of fit[Keys.Typed]) {
    fitButtons.before(makeField(field));
    state.fitShown[field[Keys.Id]] = 0;
  }
}

/** @returns {SettingValues} */
export function readSettings() {
  /** @type {SettingValues} */
  const settings = {};
  for (const field of state.settingFields) {
    settings[field[Keys.Key]] = readField(field);
  }
  return settings;
}

// The settings used with the diode only are off without it.
/** @param {boolean} diode */
export function showDiodeSettings(diode) {
  for (const field of state.settingFields.filter((f) => f[Keys.DiodeOnly])) {
    /** @type {HTMLInputElement | HTMLSelectElement} */ (byId(field[Keys.Id])).disabled = !diode;
  }
}

// The typed boxes show the pair analysed, so that a tweak starts from there.
/** @param {{[key: string]: number}} pair R1 and R3 under the fit's keys */
export function showFitPair(pair) {
  for (const id of Object.keys(state.fitShown)) {
    const input = inputById(id);
    const value = pair[/** @type {string} */ (input.dataset.key)];
    state.fitShown[id] = value;
    input.value = String(value);
    boxValue(input, value);
  }
}

// The typed pair as the fit's request member: {r1, r3}, each held within its box's limits.
export function typedFit() {
  /** @type {{[key: string]: number}} */
  const fit = {};
  for (const [id, shown] of Object.entries(state.fitShown)) {
    const input = inputById(id);
    fit[/** @type {string} */ (input.dataset.key)] = boxValue(input, shown);
  }
  return fit;
}
