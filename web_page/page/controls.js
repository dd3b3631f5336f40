// The calculating tabs' controls by the window's names.
import {inputById} from './dom.js';

/** @typedef {import('./protocol_types').TabKey} TabKey */

/** @type {TabKey[]} */
export const Tabs = ['calc', 'check'];

export const TabControls = Object.freeze({
  calc: {page: 0, text: 'Text1', option: 'Option1', cal: 'Command1', clear: 'Command2',
         analyse: 'AnalyseCalc', save: 'SaveDesignCalc', open: 'OpenDesignCalc', name: 'Calc'},
  check: {page: 3, text: 'Text2', option: 'Option2', cal: 'Command3', clear: 'Command4',
          analyse: 'AnalyseCheck', save: 'SaveDesignCheck', open: 'OpenDesignCheck',
          name: 'Check'},
});

/**
 * A tab's input box by index, 0 to 4.
 * @param {TabKey} tab
 * @param {number} i
 */
export function box(tab, i) {
  return inputById(`${TabControls[tab].text}(${i})`);
}

/**
 * A tab's diode button: 0 Yes, 1 No.
 * @param {TabKey} tab
 * @param {number} i
 */
export function option(tab, i) {
  return inputById(`${TabControls[tab].option}(${i})`);
}
