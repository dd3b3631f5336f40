// The design file the page has open, as a desktop program keeps a document: the file last opened
// or saved and its tab, whether the tab's boxes or diode choice, or the analysis's settings, fit
// or yield estimate changed since; the page's title names it with a mark after a change, and the
// browser asks before a tab with changes is closed.
import {box, option, TabControls, Tabs} from './controls.js';
import {byId} from './dom.js';
import {state} from './state.js';

/** @typedef {import('./protocol_types').TabKey} TabKey */

// The page's own title, which follows the file's name.
const caption = {text: ''};

// "worked.okep* — Orvalex KEP CAL" after a change, as the window's title marks it.
function showTitle() {
  const open = state.document;
  document.title = open ? `${open.name}${open.modified ? '*' : ''} \u2014 ${caption.text}`
                        : caption.text;
}

/**
 * The file just opened or saved on the tab is the open design, unchanged.
 * @param {TabKey} tab
 * @param {string} name
 */
export function setOpenFile(tab, name) {
  state.document = {tab, name, modified: false};
  showTitle();
}

/**
 * Something of the tab's design changed: its mark when it is the open design's.
 * @param {TabKey} tab
 */
export function designChanged(tab) {
  if (state.document && state.document.tab === tab && !state.document.modified) {
    state.document.modified = true;
    showTitle();
  }
}

export function wireDesignDocument() {
  caption.text = document.title;
  for (const tab of Tabs) {
    for (let i = 0; i < 5; ++i) {
      box(tab, i).addEventListener('input', () => designChanged(tab));
    }
    // The four buttons are one choice: one chosen takes the other tab's away.
    for (const i of [0, 1]) {
      option(tab, i).addEventListener('change', () => Tabs.forEach(designChanged));
    }
    byId(TabControls[tab].clear).addEventListener('click', () => designChanged(tab));
  }
  window.addEventListener('beforeunload', (event) => {
    if (state.document?.modified) {
      event.preventDefault();
      event.returnValue = ''; // older browsers ask only with this set
    }
  });
}
