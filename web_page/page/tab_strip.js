// The tabs: a tablist with arrow keys, Home and End; a tab is shown as it gets the focus.
import {byId} from './dom.js';

const TabCount = 4;
const tabButton = (/** @type {number} */ i) => byId(`Tab${i}`);

/**
 * @param {number} index
 * @param {boolean} focus
 */
export function selectTab(index, focus) {
  for (let i = 0; i < TabCount; ++i) {
    const selected = i === index;
    tabButton(i).setAttribute('aria-selected', String(selected));
    tabButton(i).tabIndex = selected ? 0 : -1;
    byId(`Page${i}`).hidden = !selected;
  }
  if (focus) {
    tabButton(index).focus();
  }
}

export function wireTabStrip() {
  const last = TabCount - 1;
  for (let i = 0; i < TabCount; ++i) {
    tabButton(i).addEventListener('click', () => selectTab(i, false));
    tabButton(i).addEventListener('keydown', (event) => {
      /** @type {Record<string, number>} */
      const targets = {ArrowRight: i === last ? 0 : i + 1, ArrowLeft: i === 0 ? last : i - 1,
                       Home: 0, End: last};
      const target = targets[event.key];
      if (target !== undefined) {
        event.preventDefault();
        selectTab(target, true);
      }
    });
  }
}
