// The analysis report: one table a section with its subject and notes, every warning linked at
// the report's head, and in the fittable section a radio button a row to fit that pair.
import {byId, element} from './dom.js';
import {Keys} from './protocol.js';

/** @typedef {import('./protocol_types').Report} Report */
/** @typedef {import('./protocol_types').Section} Section */

/**
 * The rank cells hold a radio button each: choosing one fits that pair.
 * @param {HTMLTableElement} table
 * @param {number} fittedRank the pair fitted by rank, or 0
 * @param {(rank: number) => void} onFitRank
 */
function addFitChoices(table, fittedRank, onFitRank) {
  [...table.tBodies[0].rows].forEach((row, i) => {
    const rank = i + 1;
    const cell = row.cells[0];
    const radio = element('input');
    radio.type = 'radio';
    radio.name = 'FitRank';
    radio.id = `FitRank${rank}`;
    radio.checked = fittedRank === rank;
    radio.setAttribute('aria-label', `Fit pair ${rank}`);
    radio.addEventListener('change', () => onFitRank(rank));
    const label = element('label', 'fit-choice');
    label.append(radio, cell.firstChild || '');
    cell.append(label);
    row.classList.toggle('fitted', radio.checked);
  });
  table.title = 'Select a pair\'s row to analyse it as fitted';
}

/** @param {Section} section */
function sectionTable(section) {
  const table = element('table');
  table.dataset.section = section[Keys.Name];
  const headRow = element('tr');
  for (const cell of section[Keys.Header]) {
    const th = element('th', '', cell);
    th.scope = 'col';
    headRow.append(th);
  }
  table.append(element('thead'), element('tbody'));
  table.tHead?.append(headRow);
  const flagged = new Set((section[Keys.Flagged] || []).map(([r, c]) => `${r},${c}`));
  section[Keys.Rows].forEach((row, r) => {
    const tr = element('tr');
    row.forEach((cell, c) => tr.append(element('td', flagged.has(`${r},${c}`) ? 'flagged' : '', cell)));
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
 * @param {number} fittedRank
 * @param {(rank: number) => void} onFitRank
 */
function sectionPart(section, fittedRank, onFitRank) {
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
    addFitChoices(table, fittedRank, onFitRank);
  }
  for (const note of section[Keys.Notes] || []) {
    part.append(element('p', note[Keys.Warning] ? 'note warning' : 'note', note[Keys.Text]));
  }
  return {part, warnings: warningLinks(section, heading)};
}

/**
 * Shows the report; a rank's radio button that had the focus has it again.
 * @param {Report} report
 * @param {number} fittedRank the pair fitted by rank, or 0
 * @param {(rank: number) => void} onFitRank called when a row is chosen to fit
 */
export function renderReport(report, fittedRank, onFitRank) {
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
    const shown = sectionPart(section, fittedRank, onFitRank);
    target.append(shown.part);
    warnings.append(...shown.warnings);
  }
  byId('AnalysisWarnings').hidden = warnings.children.length === 0;
  if (focused.startsWith('FitRank')) {
    document.getElementById(focused)?.focus();
  }
}
