// The analysis report: one table a section with its subject and notes, every warning linked at
// the report's head, in each section whose rows fit something a radio button a row to fit it (a
// preferred pair, or a grade's build with its tolerance and TCR), and the yield's histograms.
import {byId, element} from './dom.js';
import {renderHistograms} from './plot_view.js';
import {Keys} from './protocol.js';
import {state} from './state.js';

/** @typedef {import('./protocol_types').Report} Report */
/** @typedef {import('./protocol_types').Section} Section */
/** @typedef {import('./protocol_types').RowFit} RowFit */
/** @typedef {{isFitted: (row: RowFit) => boolean, onFit: (row: RowFit) => void}} Fitting */

// "Parts to buy" as a name's part: "PartsToBuy".
const camelCase = (/** @type {string} */ text) =>
  text.replace(/\w+/g, (word) => word[0].toUpperCase() + word.slice(1)).replace(/\W+/g, '');

/**
 * The first cells hold a radio button each where the row fits something: choosing one fits it.
 * A preferred pair's is FitRank1 to FitRank3, a build's Fit<section><row>, such as FitPartsToBuy4;
 * each table's buttons are a group of their own.
 * @param {HTMLTableElement} table
 * @param {Section} section
 * @param {Fitting} fitting
 */
function addFitChoices(table, section, fitting) {
  const name = section[Keys.Name];
  [...table.tBodies[0].rows].forEach((row, i) => {
    const fit = section[Keys.Fits][i];
    if (!fit) {
      return;
    }
    const rank = fit[Keys.Fit][state.fitRankKey];
    const cell = row.cells[0];
    const radio = element('input');
    radio.type = 'radio';
    // One group a table: a build may stand in two tables, both checked when it is fitted.
    radio.name = rank ? 'FitRank' : `Fit${camelCase(name)}`;
    radio.id = `${radio.name}${i + 1}`;
    radio.checked = fitting.isFitted(fit);
    radio.setAttribute('aria-label', rank ? `Fit pair ${rank}` : `Fit the build of ${name}, row ${i + 1}`);
    radio.addEventListener('change', () => fitting.onFit(fit));
    const label = element('label', 'fit-choice');
    label.append(radio, cell.firstChild || '');
    cell.append(label);
    row.classList.toggle('fitted', radio.checked);
  });
  table.title = 'Select a row to analyse it as fitted';
}

// On a narrow screen each row stands as a card of its cells, each named by its column
// (data-label), so that the verdict's columns need no sideways scrolling; the roles keep the
// table a table for assistive technology whatever the style shows.
/** @param {Section} section */
function sectionTable(section) {
  const table = element('table');
  table.dataset.section = section[Keys.Name];
  table.setAttribute('role', 'table');
  const headRow = element('tr');
  headRow.setAttribute('role', 'row');
  for (const cell of section[Keys.Header]) {
    const th = element('th', '', cell);
    th.scope = 'col';
    th.setAttribute('role', 'columnheader');
    headRow.append(th);
  }
  table.append(element('thead'), element('tbody'));
  table.tHead?.append(headRow);
  const flagged = new Set((section[Keys.Flagged] || []).map(([r, c]) => `${r},${c}`));
  section[Keys.Rows].forEach((row, r) => {
    const tr = element('tr');
    tr.setAttribute('role', 'row');
    row.forEach((cell, c) => {
      const td = element('td', flagged.has(`${r},${c}`) ? 'flagged' : '', cell);
      td.setAttribute('role', 'cell');
      td.dataset.label = section[Keys.Header][c] ?? '';
      tr.append(td);
    });
    table.tBodies[0].append(tr);
  });
  return table;
}

/**
 * Every warning note of a section, as a link to its heading for the list at the report's head.
 * @param {Section} section
 * @param {HTMLElement} heading
 */
function warningLinks(section, heading) {
  return (section[Keys.Notes] || []).filter((note) => note[Keys.Warning]).map((note) => {
    const link = element('a', '', note[Keys.Text]);
    link.href = `#${heading.id}`;
    link.addEventListener('click', (event) => {
      event.preventDefault(); // the fragment holds the design's link
      heading.scrollIntoView();
    });
    const item = element('li');
    item.append(link);
    return item;
  });
}

/**
 * @param {Section} section
 * @param {Fitting} fitting
 */
function sectionPart(section, fitting) {
  const part = element('div', 'report-section');
  const heading = element('h3', '', section[Keys.Name]);
  heading.id = `Section-${section[Keys.Name].replace(/\W+/g, '-')}`;
  // A wide table scrolls in its own region, which the keyboard can reach.
  const scroll = element('div', 'table-scroll');
  scroll.tabIndex = 0;
  scroll.setAttribute('role', 'region');
  scroll.setAttribute('aria-labelledby', heading.id);
  const table = sectionTable(section);
  scroll.append(table);
  part.append(heading);
  if (section[Keys.Subject]) {
    part.append(element('p', 'subject', section[Keys.Subject]));
  }
  part.append(scroll);
  if (section[Keys.Fittable]) {
    addFitChoices(table, section, fitting);
  }
  for (const note of section[Keys.Notes] || []) {
    part.append(element('p', note[Keys.Warning] ? 'note warning' : 'note', note[Keys.Text]));
  }
  const histograms = section[Keys.Histograms];
  if (histograms) {
    part.append(renderHistograms(histograms));
  }
  return {part, warnings: warningLinks(section, heading)};
}

/**
 * Shows the report; a row's radio button that had the focus has it again.
 * @param {Report} report
 * @param {(row: RowFit) => boolean} isFitted whether a row's fit is the one analysed
 * @param {(row: RowFit) => void} onFit called when a row is chosen to fit
 */
export function renderReport(report, isFitted, onFit) {
  const focused = document.activeElement?.id || '';
  const target = byId('AnalysisReport');
  target.replaceChildren();
  byId('AnalysisDesign').textContent = report[Keys.Heading];
  const design = report[Keys.Design];
  const sections = design ? [design, ...report[Keys.Sections]] : report[Keys.Sections];
  if (report[Keys.Reason]) {
    target.append(element('p', 'reason', report[Keys.Reason]));
  }
  const warnings = byId('AnalysisWarningList');
  warnings.replaceChildren();
  for (const section of sections) {
    const shown = sectionPart(section, {isFitted, onFit});
    target.append(shown.part);
    warnings.append(...shown.warnings);
  }
  byId('AnalysisWarnings').hidden = warnings.children.length === 0;
  if (focused.startsWith('Fit')) {
    document.getElementById(focused)?.focus();
  }
}
