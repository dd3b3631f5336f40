// The plot of Vo against the pin voltage, drawn from the core's numbers as SVG: the curve, each
// level's mark with its worst-case band, and beside it the level's output spec. And the yield's
// histograms: each level's bins, hatched outside its spec, with the spec band drawn over them.
import {byId, element, svgElement} from './dom.js';
import {Keys} from './protocol.js';

const svg = svgElement;

/** @typedef {import('./protocol_types').Plot} Plot */
/** @typedef {import('./protocol_types').Histogram} Histogram */
/** @typedef {import('./protocol_types').Tick} Tick */
/** @typedef {import('./protocol_types').Mark} Mark */
/** @typedef {{left: number, right: number, top: number, bottom: number}} Box */
/** @typedef {{px: (x: number) => number, py: (y: number) => number}} Scale */

/**
 * The grid, the tick labels, the frame and the axes' names.
 * @param {SVGElement} root
 * @param {{x_ticks: Tick[], y_ticks: Tick[]}} plot
 * @param {Box} box
 * @param {Scale} scale
 * @param {{width: number, height: number, across: string, up: string}} size the axes' names
 */
function drawAxes(root, plot, box, {px, py}, {width, height, across, up}) {
  // On a narrow plot every other tick of the pin voltage keeps its label, so none overlap.
  const xStep = width < 480 && plot[Keys.XTicks].length > 6 ? 2 : 1;
  plot[Keys.XTicks].forEach(([x, label], i) => {
    root.append(svg('line', {class: 'grid', x1: px(x), x2: px(x), y1: box.top, y2: box.bottom}));
    if (i % xStep === 0) {
      root.append(svg('text', {x: px(x), y: box.bottom + 18, 'text-anchor': 'middle'}, label));
    }
  });
  for (const [y, label] of plot[Keys.YTicks]) {
    root.append(svg('line', {class: 'grid', x1: box.left, x2: box.right, y1: py(y), y2: py(y)}));
    root.append(svg('text', {x: box.left - 6, y: py(y) + 4, 'text-anchor': 'end'}, label));
  }
  root.append(svg('rect', {class: 'axis', x: box.left, y: box.top, width: box.right - box.left,
                           height: box.bottom - box.top, fill: 'none'}));
  root.append(svg('text', {x: (box.left + box.right) / 2, y: height - 6, 'text-anchor': 'middle'},
                  across));
  root.append(svg('text', {x: 4, y: 14}, up));
}

/**
 * The scale of a picture's values over its box.
 * @param {Box} box
 * @param {[number, number]} x
 * @param {[number, number]} y
 * @returns {Scale}
 */
function scaleOf(box, [x0, x1], [y0, y1]) {
  return {
    px: (x) => box.left + ((x - x0) / (x1 - x0 || 1)) * (box.right - box.left),
    py: (y) => box.bottom - ((y - y0) / (y1 - y0 || 1)) * (box.bottom - box.top),
  };
}

// As wide as its room, so that the labels keep their size on a phone.
/** @param {number} room */
const widthFor = (room) => Math.round(Math.max(300, Math.min(720, room || 640)));

// The spec's hatching, told apart from the hollow band by more than its colour.
function hatching(id = 'SpecHatch') {
  const defs = svg('defs', {});
  const hatch = svg('pattern', {id, width: 5, height: 5,
                                patternUnits: 'userSpaceOnUse', patternTransform: 'rotate(45)'});
  hatch.append(svg('line', {class: 'hatch', x1: 0, x2: 0, y1: 0, y2: 5}));
  defs.append(hatch);
  return defs;
}

/**
 * A level's mark: its spec beside it, the bar of its worst case and the dot of its output.
 * @param {Mark} mark
 * @param {Scale} scale
 */
function levelMark(mark, {px, py}) {
  const x = px(mark[Keys.PinV]);
  const group = svg('g', {'data-pin-v': mark[Keys.PinV], 'data-vo': mark[Keys.Vo],
                          'data-min': mark[Keys.Min], 'data-max': mark[Keys.Max]});
  const meets = mark[Keys.MeetsSpec];
  const top = py(mark[Keys.SpecHigh]);
  const spec = svg('rect', {class: meets ? 'spec meets' : 'spec fails', x: x + 9, width: 6, y: top,
                            height: Math.max(1, py(mark[Keys.SpecLow]) - top),
                            'data-low': mark[Keys.SpecLow], 'data-high': mark[Keys.SpecHigh],
                            'data-meets': meets});
  if (!meets) {
    spec.setAttribute('fill', 'url(#SpecHatch)');
  }
  const [high, low] = [py(mark[Keys.Max]), py(mark[Keys.Min])];
  group.append(spec,
               svg('line', {class: 'bar', x1: x, x2: x, y1: high, y2: low}),
               svg('line', {class: 'bar', x1: x - 6, x2: x + 6, y1: high, y2: high}),
               svg('line', {class: 'bar', x1: x - 6, x2: x + 6, y1: low, y2: low}),
               svg('circle', {class: 'dot', cx: x, cy: py(mark[Keys.Vo]), r: 4}));
  return group;
}

/** @param {Plot | null} plot */
export function renderPlot(plot) {
  const area = byId('PlotArea');
  area.replaceChildren();
  byId('AnalysisPlot').hidden = !plot;
  if (!plot) {
    return;
  }
  const width = widthFor(area.clientWidth);
  const height = Math.round(width * (width < 480 ? 0.75 : 0.56));
  const box = {left: 64, right: width - 16, top: 24, bottom: height - 44};
  const scale = scaleOf(box, plot[Keys.X], plot[Keys.Y]);
  const root = svg('svg', {viewBox: `0 0 ${width} ${height}`, role: 'img',
                           'aria-label': 'Plot of Vo against the pin voltage'});
  root.append(svg('desc', {}, plot[Keys.Description] || ''));
  drawAxes(root, plot, box, scale, {width, height, across: 'Pin voltage [V]', up: 'Vo [V]'});
  for (const mark of plot[Keys.Marks]) {
    root.append(svg('rect', {class: 'band', x: box.left, width: box.right - box.left,
                             y: scale.py(mark[Keys.Max]),
                             height: Math.max(1, scale.py(mark[Keys.Min]) - scale.py(mark[Keys.Max]))}));
  }
  const points = plot[Keys.Curve].map(([x, y]) => `${scale.px(x).toFixed(2)},${scale.py(y).toFixed(2)}`);
  root.append(svg('polyline', {class: 'curve', points: points.join(' ')}));
  root.append(hatching());
  for (const mark of plot[Keys.Marks]) {
    root.append(levelMark(mark, scale));
  }
  area.append(root);
}

/**
 * The bins as bars, those outside the spec hatched rather than filled, then the spec band over
 * them with its edges dashed.
 * @param {SVGElement} root
 * @param {Histogram} histogram
 * @param {Box} box
 * @param {Scale} scale
 * @param {string} hatchId
 */
function drawBins(root, histogram, box, {px, py}, hatchId) {
  const edge = (/** @type {number} */ i) => px(histogram[Keys.BinLow] + histogram[Keys.BinWidth] * i);
  histogram[Keys.Counts].forEach((count, i) => {
    if (count > 0) {
      const bar = svg('rect', {class: 'bin', x: edge(i), y: py(count),
                               width: Math.max(0.5, edge(i + 1) - edge(i)),
                               height: box.bottom - py(count), 'data-count': count});
      if (!histogram[Keys.Inside][i]) {
        bar.classList.add('outside');
        bar.setAttribute('fill', `url(#${hatchId})`);
      }
      root.append(bar);
    }
  });
  const [low, high] = [px(histogram[Keys.SpecLow]), px(histogram[Keys.SpecHigh])];
  root.append(svg('rect', {class: 'spec-band', x: low, y: box.top, width: Math.max(1, high - low),
                           height: box.bottom - box.top, 'data-low': histogram[Keys.SpecLow],
                           'data-high': histogram[Keys.SpecHigh]}));
  for (const x of [low, high]) {
    root.append(svg('line', {class: 'spec-edge', x1: x, x2: x, y1: box.top, y2: box.bottom}));
  }
}

/**
 * One level's histogram as SVG.
 * @param {Histogram} histogram
 * @param {number} index its place among the histograms, which names its hatching
 * @param {number} width
 */
function histogramSvg(histogram, index, width) {
  const height = Math.round(width * (width < 480 ? 0.62 : 0.4));
  const box = {left: 64, right: width - 16, top: 24, bottom: height - 44};
  const scale = scaleOf(box, histogram[Keys.X], histogram[Keys.Y]);
  const root = svg('svg', {viewBox: `0 0 ${width} ${height}`, role: 'img',
                           'aria-label': histogram[Keys.Title]});
  root.append(svg('desc', {}, histogram[Keys.Description]));
  const hatchId = `BinHatch${index}`;
  root.append(hatching(hatchId));
  drawAxes(root, histogram, box, scale, {width, height, across: 'Vo [V]', up: 'Count'});
  root.append(svg('text', {x: box.right, y: 14, 'text-anchor': 'end', class: 'title'},
                  histogram[Keys.Title]));
  drawBins(root, histogram, box, scale, hatchId);
  return root;
}

/**
 * The yield's histograms, one a level, as a figure with its caption.
 * @param {Histogram[]} histograms
 */
export function renderHistograms(histograms) {
  const figure = element('figure', 'plot histograms');
  const width = widthFor(byId('AnalysisReport').clientWidth);
  histograms.forEach((histogram, i) => figure.append(histogramSvg(histogram, i, width)));
  figure.append(element('figcaption', '', 'Each level\u2019s output over every board at the three ' +
    'temperatures: bars inside the output spec are filled, bars outside it hatched; the spec is ' +
    'the shaded strip between the dashed lines.'));
  return figure;
}
