// The calculator: the diode layouts, CAL, CLEAR and a link's design, pressed through the core.
// What a press records goes to the analysis through designRecorded.
import {designRecorded} from './analysis.js';
import {box, option, TabControls, Tabs} from './controls.js';
import {ask} from './core_client.js';
import {byId, guarded} from './dom.js';
import {showMessage} from './message_box.js';
import {separators, wellFormed} from './number_locale.js';
import {Keys} from './protocol.js';
import {linkedDesign, writeFragment} from './share_link.js';
import {selectTab} from './tab_strip.js';

/** @typedef {import('./protocol_types').TabKey} TabKey */
/** @typedef {import('./protocol_types').FitChoice} FitChoice */
/** @typedef {import('./protocol_types').PressResponse} PressResponse */

/** @typedef {import('./protocol_types').SettingsTable} SettingsTable */

// The diode layouts as the core declares them: which controls each choice shows, in the window's
// order, and what a Calc press sets by the choice it read.
/** @type {{layouts: SettingsTable['layouts'], press: SettingsTable['press_layouts']}} */
const diodeLayouts = {layouts: {calc: [], check: []}, press: {yes: [], no: []}};

/**
 * @param {TabKey} tab
 * @param {boolean} diode
 */
function applyLayout(tab, diode) {
  for (const [id, withDiode, without] of diodeLayouts.layouts[tab]) {
    byId(id).hidden = !(diode ? withDiode : without);
  }
}

/**
 * Start state: nothing chosen on Calc, "No" on Check, the Diode Vf rows hidden on both.
 * @param {SettingsTable} table the core's, with the layouts
 */
export function formLoad(table) {
  diodeLayouts.layouts = table[Keys.Layouts];
  diodeLayouts.press = table[Keys.PressLayouts];
  applyLayout('calc', false);
  applyLayout('check', false);
  // The four buttons are one group: "No" on Check leaves Calc without a choice.
  option('check', 1).checked = true;
}

/**
 * The rows follow the choice before the inputs are judged, and stay so if they fail.
 * @param {PressResponse['layout']} layout
 */
function applyPressLayout(layout) {
  for (const [id, shown] of layout ? diodeLayouts.press[layout] : []) {
    byId(id).hidden = !shown;
  }
}

/** @param {PressResponse} answer */
function showPressResults(answer) {
  applyPressLayout(answer[Keys.Layout]);
  for (const [id, text] of Object.entries(answer[Keys.Texts] || {})) {
    const label = document.getElementById(id);
    if (label) {
      label.textContent = text;
    }
  }
  const red = answer[Keys.Red];
  if (red) {
    const marked = byId(red);
    marked.classList.add('red');
    if (marked.tagName === 'INPUT') {
      marked.setAttribute('aria-invalid', 'true');
    }
  }
}

/**
 * One CAL press; a design opened from a file opens its analysis with the file's fit.
 * @param {TabKey} tab
 * @param {{fit: FitChoice | null} | null} [opened]
 */
export async function press(tab, opened = null) {
  const {decimal, group} = separators();
  const diode = option(tab, 0).checked;
  const request = {[Keys.Op]: Keys.OpPress, [Keys.Tab]: tab, [Keys.Yes]: diode,
                   [Keys.No]: option(tab, 1).checked,
                   [Keys.Texts]: [0, 1, 2, 3, 4].map((i) => wellFormed(box(tab, i).value)),
                   [Keys.Decimal]: decimal, [Keys.Group]: group};
  writeFragment(tab);
  /** @type {PressResponse} */
  const answer = await ask(request);
  showPressResults(answer);
  const message = answer[Keys.Message];
  if (message) {
    showMessage(message);
  }
  if (answer[Keys.Recorded]) {
    await designRecorded(tab, diode, opened);
  }
}

function clearCalc() {
  for (let i = 0; i < 5; ++i) {
    box('calc', i).value = '';
    box('calc', i).classList.remove('red');
    box('calc', i).removeAttribute('aria-invalid');
  }
  for (let i = 0; i < 3; ++i) {
    byId(`Label2(${i})`).textContent = '';
    byId(`Label2(${i})`).classList.remove('red');
  }
}

function clearCheck() {
  // With neither Check button chosen (a choice was made on Calc) nothing clears.
  if (!option('check', 1).checked && !option('check', 0).checked) {
    return;
  }
  for (let i = 0; i < 5; ++i) {
    box('check', i).value = '';
  }
  for (let i = 0; i < 4; ++i) {
    byId(`Label3(${i})`).textContent = '';
  }
}

/**
 * Fills a tab as typing would, then presses CAL: a link's design, or a design file's. A text of
 * null leaves its box as it is.
 * @param {TabKey} tab
 * @param {'yes' | 'no' | null} diode
 * @param {(string | null)[]} texts
 * @param {{fit: FitChoice | null} | null} [opened]
 */
export async function enterDesign(tab, diode, texts, opened = null) {
  selectTab(TabControls[tab].page, false);
  if (diode) {
    option(tab, diode === 'yes' ? 0 : 1).click();
  } else {
    option(tab, 0).checked = false;
    option(tab, 1).checked = false;
  }
  texts.forEach((text, i) => {
    if (text !== null) {
      box(tab, i).value = text;
    }
  });
  await press(tab, opened);
}

// A link's fragment fills its tab as typing would, then presses CAL.
export async function applyLink() {
  const design = linkedDesign();
  if (design) {
    await enterDesign(design.tab, design.diode, design.texts);
  }
}

export function wireCalculator() {
  // The four buttons share one name, so the browser keeps one choice across both tabs; only
  // the newly chosen button raises its handler, as in the window.
  for (const tab of Tabs) {
    [0, 1].forEach((i) => option(tab, i).addEventListener('change', () => {
      if (option(tab, i).checked) {
        applyLayout(tab, i === 0);
      }
    }));
    byId(TabControls[tab].cal).addEventListener('click', guarded(() => press(tab)));
  }
  byId(TabControls.calc.clear).addEventListener('click', clearCalc);
  byId(TabControls.check.clear).addEventListener('click', clearCheck);
  window.addEventListener('hashchange', guarded(applyLink));
}
