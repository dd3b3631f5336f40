// The page's handlers: read the controls, ask the core, write its answer back; no arithmetic here.
'use strict';

(() => {
  const byId = (id) => document.getElementById(id);
  const Tabs = ['calc', 'check'];
  // Each calculating tab's controls by the window's names.
  const TabControls = {
    calc: {page: 0, text: 'Text1', option: 'Option1', cal: 'Command1', clear: 'Command2',
           analyse: 'AnalyseCalc', name: 'Calc'},
    check: {page: 3, text: 'Text2', option: 'Option2', cal: 'Command3', clear: 'Command4',
            analyse: 'AnalyseCheck', name: 'Check'},
  };
  const box = (tab, i) => byId(`${TabControls[tab].text}(${i})`);
  const option = (tab, i) => byId(`${TabControls[tab].option}(${i})`);

  // The browser language's separators, as the window takes the system locale's; looked up at
  // the first press, since the language data take a while to load.
  let separatorsFound = null;
  function separators() {
    if (!separatorsFound) {
      let parts = [];
      try {
        parts = new Intl.NumberFormat(navigator.language).formatToParts(1234567.5);
      } catch {
        parts = new Intl.NumberFormat('en-US').formatToParts(1234567.5);
      }
      const part = (type, fallback) => (parts.find((p) => p.type === type) || {value: fallback}).value;
      separatorsFound = {decimal: part('decimal', '.'), group: part('group', '')};
    }
    return separatorsFound;
  }

  let core = null;
  function ask(request) {
    const json = JSON.stringify(request);
    const text = typeof core.request === 'function'
      ? core.request(json)
      : core.ccall('request', 'string', ['string'], [json]);
    const answer = JSON.parse(text);
    if (answer.error) {
      throw new Error(answer.error);
    }
    return answer;
  }

  // The message box: modal, holds the focus until OK; Escape closes it as OK does.
  function showMessage(text) {
    const dialog = byId('MsgBox');
    byId('MsgBoxText').textContent = text;
    if (dialog.open) {
      dialog.close();
    }
    dialog.showModal();
    byId('MsgBoxOK').focus();
  }

  // Tabs: a tablist with arrow keys, Home and End; a tab is shown as it gets the focus.
  const tabButtons = [0, 1, 2, 3].map((i) => byId(`Tab${i}`));
  function selectTab(index, focus) {
    tabButtons.forEach((button, i) => {
      const selected = i === index;
      button.setAttribute('aria-selected', String(selected));
      button.tabIndex = selected ? 0 : -1;
      byId(`Page${i}`).hidden = !selected;
    });
    if (focus) {
      tabButtons[index].focus();
    }
  }
  tabButtons.forEach((button, i) => {
    button.addEventListener('click', () => selectTab(i, false));
    button.addEventListener('keydown', (event) => {
      const last = tabButtons.length - 1;
      const target = {ArrowRight: i === last ? 0 : i + 1, ArrowLeft: i === 0 ? last : i - 1,
                      Home: 0, End: last}[event.key];
      if (target !== undefined) {
        event.preventDefault();
        selectTab(target, true);
      }
    });
  });

  // The diode layouts: which controls each choice shows, in the window's order.
  const Layouts = {
    calc: [['Label1(8)', true, false], ['Text1(4)', true, false], ['Label2(2)', false, true],
           ['Label5(2)', false, true]],
    check: [['Label1(9)', true, false], ['Text2(4)', true, false], ['Label5(4)', false, true],
            ['Label5(6)', false, true], ['Label3(1)', false, true], ['Label3(3)', false, true]],
  };
  function applyLayout(tab, diode) {
    for (const [id, withDiode, without] of Layouts[tab]) {
      byId(id).hidden = !(diode ? withDiode : without);
    }
  }
  // The four buttons share one name, so the browser keeps one choice across both tabs; only
  // the newly chosen button raises its handler, as in the window.
  for (const tab of Tabs) {
    [0, 1].forEach((i) => option(tab, i).addEventListener('change', () => {
      if (option(tab, i).checked) {
        applyLayout(tab, i === 0);
      }
    }));
  }
  function selectOption(tab, i) {
    option(tab, i).checked = true;
    applyLayout(tab, i === 0);
  }

  // Start state: nothing chosen on Calc, "No" on Check, the Diode Vf rows hidden on both.
  function formLoad() {
    selectOption('calc', 1);
    byId('Label1(8)').hidden = true;
    byId('Text1(4)').hidden = true;
    selectOption('check', 1);
    byId('Label1(9)').hidden = true;
    byId('Text2(4)').hidden = true;
  }

  // What a press recorded, for the analysis: which tab it is shown for, and its diode.
  const recorded = {calc: null, check: null};
  let analysisTab = null;

  // A lone surrogate pasted into a box cannot travel as UTF-8: it becomes U+FFFD, which the core
  // refuses like any other stray character.
  const wellFormed = (text) =>
    (typeof text.toWellFormed === 'function' ? text.toWellFormed() : text.replace(
      /[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD'));

  function press(tab) {
    const answer = ask({op: 'press', tab, yes: option(tab, 0).checked, no: option(tab, 1).checked,
                        texts: [0, 1, 2, 3, 4].map((i) => wellFormed(box(tab, i).value)),
                        decimal: separators().decimal, group: separators().group});
    // The rows follow the choice before the inputs are judged, and stay so if they fail.
    if (answer.layout === 'no') {
      byId('Label1(8)').hidden = true;
      byId('Text1(4)').hidden = true;
    } else if (answer.layout === 'yes') {
      byId('Label1(8)').hidden = false;
      byId('Text1(4)').hidden = false;
      byId('Label5(2)').hidden = true;
      byId('Label2(2)').hidden = true;
    }
    for (const [id, text] of Object.entries(answer.texts || {})) {
      const label = byId(id);
      if (label) {
        label.textContent = text;
      }
    }
    if (answer.red) {
      const marked = byId(answer.red);
      marked.classList.add('red');
      if (marked.tagName === 'INPUT') {
        marked.setAttribute('aria-invalid', 'true');
      }
    }
    if (answer.recorded) {
      recorded[tab] = {diode: option(tab, 0).checked};
      if (analysisTab === tab) {
        fit = null; // a new CAL: its design as it is
      }
      byId(TabControls[tab].analyse).disabled = false;
      if (analysisTab === tab && !byId('Analysis').hidden) {
        showAnalysis(tab);
      }
    }
    writeFragment(tab);
    if (answer.message) {
      showMessage(answer.message);
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

  // The analysis: settings as the desktop window has them, read and kept within their limits.
  const settingInputs = ['ResistorTolerance', 'VrefTolerance', 'PinVoltage', 'LevelAccuracy',
                         'VfSpread', 'TempMin', 'TempMax', 'ResistorTcr', 'VrefDrift',
                         'FbCurrent', 'VfTempco', 'Spec'].map(byId);
  // A box's value held within its limits and decimals, as a spin box holds it; text that is no
  // number gives the fallback.
  function boxValue(input, fallback) {
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
  function readSettings() {
    const settings = {series: byId('Series').value};
    for (const input of settingInputs) {
      settings[input.dataset.key] = boxValue(input, Number(input.defaultValue));
    }
    return settings;
  }

  // The pair analysed as fitted: null (as designed), {pair: rank} or {r1, r3}. It belongs to the
  // analysed tab's design and is dropped at that tab's next CAL.
  let fit = null;
  // The R1 and R3 the fit boxes last showed, which an empty or unreadable box keeps.
  const fitShown = {FitR1: 0, FitR3: 0};
  function showFitPair(json) {
    const pair = json && (json.fitted || json.design);
    if (!pair) {
      return;
    }
    for (const [id, value] of [['FitR1', pair.r1], ['FitR3', pair.r3]]) {
      fitShown[id] = value;
      byId(id).value = String(value);
      boxValue(byId(id), value);
    }
  }

  let reportText = '';
  function showAnalysis(tab) {
    if (tab !== analysisTab) {
      fit = null; // a fit belongs to the other tab's design
    }
    analysisTab = tab;
    const request = {op: 'analyse', tab, decimal: separators().decimal, settings: readSettings()};
    if (fit) {
      request.fit = fit;
    }
    const answer = ask(request);
    const region = byId('Analysis');
    byId('AnalysisTitle').textContent = `Design analysis \u2013 ${TabControls[tab].name} tab`;
    const diode = Boolean(recorded[tab] && recorded[tab].diode);
    byId('VfSpread').disabled = !diode;
    byId('VfTempco').disabled = !diode;
    region.hidden = false;
    if (!answer.recorded) {
      return;
    }
    if (!fit || fit.pair) {
      // The typed boxes start from the pair analysed, so that a tweak starts from there.
      showFitPair(answer.json);
    }
    renderReport(answer.report);
    reportText = answer.text;
    renderPlot(answer.plot);
  }

  function fitAndShow(choice) {
    fit = choice;
    showAnalysis(analysisTab);
  }

  function element(tag, className, text) {
    const node = document.createElement(tag);
    if (className) {
      node.className = className;
    }
    if (text !== undefined) {
      node.textContent = text;
    }
    return node;
  }

  // The preferred pairs' rank cells hold a radio button each: choosing one fits that pair.
  function addFitChoices(table) {
    [...table.tBodies[0].rows].forEach((row, i) => {
      const rank = i + 1;
      const cell = row.cells[0];
      const radio = element('input');
      radio.type = 'radio';
      radio.name = 'FitRank';
      radio.id = `FitRank${rank}`;
      radio.checked = Boolean(fit && fit.pair === rank);
      radio.setAttribute('aria-label', `Fit pair ${rank}`);
      radio.addEventListener('change', guarded(() => {
        fitAndShow({pair: rank});
        byId(`FitRank${rank}`).focus();
      }));
      const label = element('label', 'fit-choice');
      label.append(radio, cell.firstChild);
      cell.append(label);
      row.classList.toggle('fitted', radio.checked);
    });
    table.title = 'Select a pair\'s row to analyse it as fitted';
  }

  function renderReport(report) {
    const target = byId('AnalysisReport');
    target.replaceChildren();
    byId('AnalysisDesign').textContent = report.heading;
    const sections = report.design ? [report.design, ...report.sections] : report.sections;
    if (report.reason) {
      target.append(element('p', 'reason', report.reason));
    }
    // Every warning also stands at the head of the report, linked to its section.
    const warnings = byId('AnalysisWarningList');
    warnings.replaceChildren();
    for (const section of sections) {
      const part = element('div', 'report-section');
      const heading = element('h3', '', section.name);
      heading.id = `Section-${section.name.replace(/\W+/g, '-')}`;
      for (const note of section.notes || []) {
        if (note.warning) {
          const link = element('a', '', note.text);
          link.href = `#${heading.id}`;
          link.addEventListener('click', (event) => {
            event.preventDefault(); // the fragment holds the design's link
            heading.scrollIntoView();
          });
          const item = element('li');
          item.append(link);
          warnings.append(item);
        }
      }
      // A wide table scrolls in its own region, which the keyboard can reach.
      const scroll = element('div', 'table-scroll');
      scroll.tabIndex = 0;
      scroll.setAttribute('role', 'region');
      scroll.setAttribute('aria-labelledby', heading.id);
      const table = element('table');
      table.dataset.section = section.name;
      const headRow = element('tr');
      for (const cell of section.header) {
        const th = element('th', '', cell);
        th.scope = 'col';
        headRow.append(th);
      }
      table.append(element('thead'), element('tbody'));
      table.tHead.append(headRow);
      const flagged = new Set((section.flagged || []).map(([r, c]) => `${r},${c}`));
      section.rows.forEach((row, r) => {
        const tr = element('tr');
        row.forEach((cell, c) => {
          const td = element('td', flagged.has(`${r},${c}`) ? 'flagged' : '', cell);
          tr.append(td);
        });
        table.tBodies[0].append(tr);
      });
      scroll.append(table);
      part.append(heading);
      if (section.subject) {
        part.append(element('p', 'subject', section.subject));
      }
      part.append(scroll);
      if (section.name === 'Preferred values') {
        addFitChoices(table);
      }
      for (const note of section.notes || []) {
        part.append(element('p', note.warning ? 'note warning' : 'note', note.text));
      }
      target.append(part);
    }
    byId('AnalysisWarnings').hidden = warnings.children.length === 0;
  }

  const SvgNs = 'http://www.w3.org/2000/svg';
  function svg(tag, attributes, text) {
    const node = document.createElementNS(SvgNs, tag);
    for (const [name, value] of Object.entries(attributes)) {
      node.setAttribute(name, String(value));
    }
    if (text !== undefined) {
      node.textContent = text;
    }
    return node;
  }

  function renderPlot(plot) {
    const area = byId('PlotArea');
    area.replaceChildren();
    byId('AnalysisPlot').hidden = !plot;
    if (!plot) {
      return;
    }
    // As wide as its room, so that the labels keep their size on a phone.
    const width = Math.round(Math.max(300, Math.min(720, area.clientWidth || 640)));
    const height = Math.round(width * (width < 480 ? 0.75 : 0.56));
    const box = {left: 64, right: width - 16, top: 24, bottom: height - 44};
    const [x0, x1] = plot.x;
    const [y0, y1] = plot.y;
    const px = (x) => box.left + ((x - x0) / (x1 - x0 || 1)) * (box.right - box.left);
    const py = (y) => box.bottom - ((y - y0) / (y1 - y0 || 1)) * (box.bottom - box.top);
    const root = svg('svg', {viewBox: `0 0 ${width} ${height}`, role: 'img',
                             'aria-label': 'Plot of Vo against the pin voltage'});
    root.append(svg('desc', {}, plot.description || ''));
    // On a narrow plot every other tick of the pin voltage keeps its label, so none overlap.
    const xStep = width < 480 && plot.x_ticks.length > 6 ? 2 : 1;
    plot.x_ticks.forEach(([x, label], i) => {
      root.append(svg('line', {class: 'grid', x1: px(x), x2: px(x), y1: box.top, y2: box.bottom}));
      if (i % xStep === 0) {
        root.append(svg('text', {x: px(x), y: box.bottom + 18, 'text-anchor': 'middle'}, label));
      }
    });
    for (const [y, label] of plot.y_ticks) {
      root.append(svg('line', {class: 'grid', x1: box.left, x2: box.right, y1: py(y), y2: py(y)}));
      root.append(svg('text', {x: box.left - 6, y: py(y) + 4, 'text-anchor': 'end'}, label));
    }
    root.append(svg('rect', {class: 'axis', x: box.left, y: box.top, width: box.right - box.left,
                             height: box.bottom - box.top, fill: 'none'}));
    root.append(svg('text', {x: (box.left + box.right) / 2, y: height - 6, 'text-anchor': 'middle'},
                    'Pin voltage [V]'));
    root.append(svg('text', {x: 4, y: 14}, 'Vo [V]'));
    for (const mark of plot.marks) {
      root.append(svg('rect', {class: 'band', x: box.left, width: box.right - box.left,
                               y: py(mark.max), height: Math.max(1, py(mark.min) - py(mark.max))}));
    }
    const points = plot.curve.map(([x, y]) => `${px(x).toFixed(2)},${py(y).toFixed(2)}`).join(' ');
    root.append(svg('polyline', {class: 'curve', points}));
    // The spec's hatching, told apart from the hollow band by more than its colour.
    const defs = svg('defs', {});
    const hatch = svg('pattern', {id: 'SpecHatch', width: 5, height: 5,
                                  patternUnits: 'userSpaceOnUse', patternTransform: 'rotate(45)'});
    hatch.append(svg('line', {class: 'hatch', x1: 0, x2: 0, y1: 0, y2: 5}));
    defs.append(hatch);
    root.append(defs);
    for (const mark of plot.marks) {
      const x = px(mark.pin_v);
      const group = svg('g', {'data-pin-v': mark.pin_v, 'data-vo': mark.vo, 'data-min': mark.min,
                              'data-max': mark.max});
      const top = py(mark.spec_high);
      const spec = svg('rect', {class: mark.meets_spec ? 'spec meets' : 'spec fails',
                                x: x + 9, width: 6, y: top,
                                height: Math.max(1, py(mark.spec_low) - top),
                                'data-low': mark.spec_low, 'data-high': mark.spec_high,
                                'data-meets': mark.meets_spec});
      if (!mark.meets_spec) {
        spec.setAttribute('fill', 'url(#SpecHatch)');
      }
      group.append(spec);
      group.append(svg('line', {class: 'bar', x1: x, x2: x, y1: py(mark.max), y2: py(mark.min)}),
                   svg('line', {class: 'bar', x1: x - 6, x2: x + 6, y1: py(mark.max), y2: py(mark.max)}),
                   svg('line', {class: 'bar', x1: x - 6, x2: x + 6, y1: py(mark.min), y2: py(mark.min)}),
                   svg('circle', {class: 'dot', cx: x, cy: py(mark.vo), r: 4}));
      root.append(group);
    }
    area.append(root);
  }

  // Copying: the clipboard where the browser allows it, else the old selection command.
  async function copyText(text, what) {
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

  // Sharing: the tab, its diode choice and its five texts in the fragment.
  function writeFragment(tab) {
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

  // A link's fragment fills its tab as typing would, then presses CAL; whatever it holds, the
  // press judges it.
  function readFragment() {
    const params = new URLSearchParams(location.hash.replace(/^#/, ''));
    const tab = params.get('tab');
    if (!Tabs.includes(tab)) {
      return;
    }
    selectTab(TabControls[tab].page, false);
    const diode = params.get('diode');
    if (diode === 'yes' || diode === 'no') {
      option(tab, diode === 'yes' ? 0 : 1).click();
    } else {
      option(tab, 0).checked = false;
      option(tab, 1).checked = false;
    }
    for (let i = 0; i < 5; ++i) {
      box(tab, i).value = params.get(`t${i}`) ?? '';
    }
    press(tab);
  }

  // Any fault of the page itself stays in the console; the page keeps working.
  function guarded(handler) {
    return (...args) => {
      try {
        handler(...args);
      } catch (error) {
        console.error(error);
      }
    };
  }

  // The core is unpacked once the form is read, so that the page shows and takes input first. A
  // handler that needs the core before it is in runs as soon as it is, in the order given.
  let coreIn = null;
  const coreLoaded = new Promise((resolve) => (coreIn = resolve));
  function withCore(handler) {
    const safe = guarded(handler);
    return (...args) => (core ? safe(...args) : void coreLoaded.then(() => safe(...args)));
  }

  function wire() {
    for (const tab of Tabs) {
      const controls = TabControls[tab];
      byId(controls.cal).addEventListener('click', withCore(() => press(tab)));
      byId(controls.analyse).addEventListener('click', withCore(() => {
        showAnalysis(tab);
        byId('AnalysisTitle').scrollIntoView({block: 'start'});
        byId('Series').focus({preventScroll: true});
      }));
    }
    // The box's one button keeps the focus: Tab would otherwise leave the page for the browser.
    byId('MsgBox').addEventListener('keydown', (event) => {
      if (event.key === 'Tab') {
        event.preventDefault();
        byId('MsgBoxOK').focus();
      }
    });
    byId(TabControls.calc.clear).addEventListener('click', clearCalc);
    byId(TabControls.check.clear).addEventListener('click', clearCheck);
    byId('Series').addEventListener('change', withCore(() => showAnalysis(analysisTab)));
    for (const input of settingInputs) {
      input.addEventListener('change', withCore(() => showAnalysis(analysisTab)));
      // The help text is the box's description, and its tooltip as on the desktop.
      const help = byId(input.getAttribute('aria-describedby'));
      if (help) {
        input.title = help.textContent;
      }
    }
    byId('FitTyped').addEventListener('click', withCore(() =>
      fitAndShow({r1: boxValue(byId('FitR1'), fitShown.FitR1),
                  r3: boxValue(byId('FitR3'), fitShown.FitR3)})));
    byId('AsDesigned').addEventListener('click', withCore(() => fitAndShow(null)));
    byId('CloseAnalysis').addEventListener('click', () => {
      byId('Analysis').hidden = true;
      byId(TabControls[analysisTab].analyse).focus();
    });
    byId('CopyAnalysis').addEventListener('click', () => copyText(reportText, 'Analysis'));
    for (const button of document.querySelectorAll('.copy-link')) {
      button.addEventListener('click', () => copyText(location.href, 'Link'));
    }
    window.addEventListener('hashchange', withCore(readFragment));
  }

  formLoad();
  wire();
  document.documentElement.dataset.usable = 'true';
  // The one-file page unpacks the core with loadOrvalexCore(); a bare module has OrvalexCore().
  function loadCore() {
    const load = globalThis.loadOrvalexCore || globalThis.OrvalexCore;
    Promise.resolve(typeof load === 'function' ? load() : Promise.reject(new Error('no core')))
      .then((module) => {
        core = module;
        coreIn();
        guarded(readFragment)();
        document.documentElement.dataset.ready = 'true';
        document.dispatchEvent(new Event('orvalex-ready'));
      })
      .catch((error) => console.error(error));
  }
  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', () => setTimeout(loadCore));
  } else {
    loadCore();
  }
})();
