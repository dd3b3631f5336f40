// Sharing: a tab's diode choice and five texts in the address's fragment, and copying to the
// clipboard.
import {box, option, Tabs} from './controls.js';
import {byId, element} from './dom.js';
import {wellFormed} from './number_locale.js';

/** @typedef {import('./protocol_types').TabKey} TabKey */

/** @param {TabKey} tab */
export function writeFragment(tab) {
  const diode = option(tab, 0).checked ? 'yes' : option(tab, 1).checked ? 'no' : 'none';
  const fields = [['tab', tab], ['diode', diode]];
  for (let i = 0; i < 5; ++i) {
    fields.push([`t${i}`, box(tab, i).value]);
  }
  const fragment = `#${fields.map(([k, v]) => `${k}=${encodeURIComponent(wellFormed(v))}`).join('&')}`;
  if (location.hash !== fragment) {
    history.replaceState(null, '', fragment);
  }
}

/**
 * The design a link's fragment holds, as typed: whatever it holds, the press judges it. Null
 * when it names no calculating tab.
 * @returns {{tab: TabKey, diode: 'yes' | 'no' | null, texts: string[]} | null}
 */
export function linkedDesign() {
  const params = new URLSearchParams(location.hash.replace(/^#/, ''));
  const tab = Tabs.find((name) => name === params.get('tab'));
  if (!tab) {
    return null;
  }
  const diode = params.get('diode');
  return {tab, diode: diode === 'yes' || diode === 'no' ? diode : null,
          texts: [0, 1, 2, 3, 4].map((i) => params.get(`t${i}`) ?? '')};
}

// The clipboard where the browser allows it, else the old selection command.
/**
 * @param {string} text
 * @param {string} what
 */
export async function copyText(text, what) {
  try {
    await navigator.clipboard.writeText(text);
  } catch {
    const scratch = element('textarea', 'visually-hidden');
    scratch.value = text;
    document.body.append(scratch);
    scratch.select();
    document.execCommand('copy');
    scratch.remove();
  }
  byId('CopyStatus').textContent = `${what} copied`;
}
