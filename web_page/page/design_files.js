// Design files in the page, read and written by the core as the window and the command line read
// and write them. Save design downloads the tab's design; Open design, by choosing a file or
// dropping one on the page, sends the file's text to the core, which answers the design or one
// sentence naming the file and the place. Opening fills the tab's boxes and the settings, presses
// CAL as a link does, and opens the analysis with the file's fit; a refused file changes nothing.
import {enterDesign} from './calculator.js';
import {box, option, TabControls, Tabs} from './controls.js';
import {ask, whilePreparing} from './core_client.js';
import {setOpenFile} from './design_document.js';
import {byId, downloadText, guarded, inputById} from './dom.js';
import {showMessage} from './message_box.js';
import {separators, wellFormed} from './number_locale.js';
import {Keys} from './protocol.js';
import {readSettings, showSettings} from './settings_view.js';
import {state} from './state.js';

/** @typedef {import('./protocol_types').TabKey} TabKey */
/** @typedef {import('./protocol_types').SaveDesignRequest} SaveDesignRequest */
/** @typedef {import('./protocol_types').SaveDesignResponse} SaveDesignResponse */
/** @typedef {import('./protocol_types').OpenDesignResponse} OpenDesignResponse */
/** @typedef {import('./protocol_types').OpenedDesign} OpenedDesign */

const designFileType = 'application/x-orvalex-kep-design';

/**
 * The tab's design as a file: its boxes as typed and its diode choice, with the analysis's
 * settings and fit when the analysis shows that tab (else the defaults), and the note of the file
 * last opened on it, as the window saves it.
 * @param {TabKey} tab
 */
async function saveDesign(tab) {
  const {decimal, group} = separators();
  /** @type {SaveDesignRequest} */
  const request = {[Keys.Op]: Keys.OpSaveDesign, [Keys.Tab]: tab, [Keys.Yes]: option(tab, 0).checked,
                   [Keys.No]: option(tab, 1).checked,
                   [Keys.Texts]: [0, 1, 2, 3, 4].map((i) => wellFormed(box(tab, i).value)),
                   [Keys.Decimal]: decimal, [Keys.Group]: group, [Keys.Note]: state.files[tab].note};
  // The boxes hold the settings of the tab the analysis was last of, shown or not.
  if (state.analysisTab === tab) {
    request[Keys.Settings] = readSettings();
    request[Keys.Yield] = inputById('EstimateYield').checked;
    if (state.fit) {
      request[Keys.Fit] = state.fit;
    }
  }
  /** @type {SaveDesignResponse} */
  const answer = await ask(request);
  if (Keys.Problem in answer) {
    showMessage(answer[Keys.Problem]);
    return;
  }
  const name = state.files[tab].name || `design${state.designExtension}`;
  downloadText(answer[Keys.File], name, designFileType);
  state.files[tab].name = name;
  setOpenFile(tab, name);
}

/**
 * A design the core has read: the settings first, so that the press's analysis takes them; Vf's
 * box is left as it is without the diode, as the window leaves it.
 * @param {OpenedDesign} design
 * @param {string} name
 */
async function enterOpened(design, name) {
  const tab = design[Keys.Tab];
  state.files[tab] = {note: design[Keys.Note], name};
  showSettings(design[Keys.Settings], design[Keys.SettingTexts]);
  inputById('EstimateYield').checked = design[Keys.Yield];
  const diode = design[Keys.Diode];
  const texts = design[Keys.Texts].map((text, i) => (i === 4 && !diode ? null : text));
  await enterDesign(tab, diode ? 'yes' : 'no', texts, {fit: design[Keys.Fit]});
  setOpenFile(tab, name);
}

/** @param {File} file */
export async function openDesignFile(file) {
  const text = await whilePreparing(file.slice(0, state.designFileBytes + 1).text());
  /** @type {OpenDesignResponse} */
  const answer = await ask({[Keys.Op]: Keys.OpOpenDesign, [Keys.File]: text,
                            [Keys.FileName]: file.name, [Keys.Decimal]: separators().decimal});
  if (Keys.Problem in answer) {
    showMessage(answer[Keys.Problem]);
    return;
  }
  await enterOpened(answer, file.name);
}

// The first dropped file that is a design file, as the window takes a drop.
/** @param {DataTransfer | null} data */
function droppedDesign(data) {
  return [...(data?.files || [])].find((file) =>
    file.name.toLowerCase().endsWith(state.designExtension));
}

// A file dropped anywhere on the page is the page's: the browser would otherwise leave the page
// to show it. Text dropped into a box stays the box's.
function wireDrop() {
  const carriesFiles = (/** @type {DragEvent} */ event) =>
    Boolean(event.dataTransfer?.types.includes('Files'));
  document.addEventListener('dragover', (event) => {
    if (carriesFiles(event)) {
      event.preventDefault();
    }
  });
  document.addEventListener('drop', guarded(async (/** @type {DragEvent} */ event) => {
    if (!carriesFiles(event)) {
      return;
    }
    event.preventDefault();
    const file = droppedDesign(event.dataTransfer);
    if (file) {
      await openDesignFile(file);
    }
  }));
}

/**
 * @param {string} extension the design file's, as the core names it
 * @param {number} maxBytes the largest design file the core reads
 */
export function wireDesignFiles(extension, maxBytes) {
  state.designExtension = extension;
  state.designFileBytes = maxBytes;
  const chooser = inputById('OpenDesignFile');
  chooser.accept = extension;
  chooser.addEventListener('change', guarded(async () => {
    const file = chooser.files?.[0];
    chooser.value = ''; // the same file may be chosen again
    if (file) {
      await openDesignFile(file);
    }
  }));
  for (const tab of Tabs) {
    byId(TabControls[tab].save).addEventListener('click', guarded(() => saveDesign(tab)));
    byId(TabControls[tab].open).addEventListener('click', () => chooser.click());
  }
  wireDrop();
}
