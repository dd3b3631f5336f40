// The same seeded random presses, analyses (some with the synthesis and the yield), documents,
// settings read from text and design files through the native core (the request driver) and
// through the WebAssembly core under Node: every response must be the same, byte for byte. The
// driver runs each yield all at once on every core; the module runs it a few chunks a step, as the
// page does, and its last step's response is compared.
// ORVALEX_REQUEST_DRIVER: the native driver; ORVALEX_CORE_MODULE: orvalex-core.js, with its
// .wasm beside it; ORVALEX_DIFFERENTIAL_COUNT: how many requests (100000); ..._SEED: the seed.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { createInterface } from 'node:readline';

const driverPath = process.env.ORVALEX_REQUEST_DRIVER;
const modulePath = process.env.ORVALEX_CORE_MODULE;
const count = Number(process.env.ORVALEX_DIFFERENTIAL_COUNT ?? 100000);
const seed = Number(process.env.ORVALEX_DIFFERENTIAL_SEED ?? 20261207);

// mulberry32: small, seeded, and the same on every machine.
function generator(seedValue) {
  let a = seedValue >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const int = (n) => Math.floor(next() * n);
  const pick = (items) => items[int(items.length)];
  const chance = (p) => next() < p;
  const between = (lo, hi) => lo + (hi - lo) * next();
  return { next, int, pick, chance, between };
}

// Decimal and group separators of several locales, and some no browser gives.
const LOCALES = [
  ['.', ','], [',', '.'], [',', '\u202f'], [',', '\u00a0'], ['.', "'"], [',', ' '],
  ['.', ''], ['\u066b', '\u066c'], ['.', '.'], ['', ''], ['\u00b7', ','],
];
const PIECES = {
  number: ['0', '1', '10000', '2.5', '40', '30', '0.6', '1.25', '0.14', '0.7', '1e308', '1e-300',
           '4.9e-324', '1.7976931348623157e308', '999999999999999999999', '0.000', '64954.9999999999999'],
  separator: ['.', ',', '\u202f', '\u00a0', "'", ' ', '\u066b', '\u066c'],
  blank: [' ', '\t', '  ', '\u3000'],
  sign: ['+', '-', '--', '+-'],
  exponent: ['e', 'E', 'e-', 'e+', 'e3', 'E-12', 'e400', 'e-400', 'e0'],
  garbage: ['x', 'abc', '%', '\u221e', 'NaN', 'inf', 'Infinity', '0x1A', '\uff11', '\u00e9', 'k',
            'Ω', '"', '\\', '{', '\u0000', '\ud83d\ude00'],
};

function numberText(r, value, [decimal, group]) {
  let text;
  switch (r.int(4)) {
    case 0: text = String(value); break;
    case 1: text = value.toFixed(r.int(6)); break;
    case 2: text = value.toExponential(r.int(8)); break;
    default: text = String(Math.round(value));
  }
  let [whole, rest = ''] = text.split('.');
  if (group && r.chance(0.3) && /^-?\d{4,}$/.test(whole)) {
    whole = whole.replace(/\B(?=(\d{3})+(?!\d))/g, group);
  }
  return rest ? whole + decimal + rest : whole;
}

// A text for an input box: a sensible value, or pieces of every kind put together.
function boxText(r, sensible, locale, messy) {
  if (!r.chance(messy)) {
    return numberText(r, sensible, locale);
  }
  if (r.chance(0.1)) {
    return '';
  }
  let text = '';
  const parts = 1 + r.int(4);
  for (let i = 0; i < parts; ++i) {
    text += r.pick(PIECES[r.pick(Object.keys(PIECES))]);
  }
  return text;
}

function pressRequest(r) {
  const tab = r.pick(['calc', 'check']);
  const choice = r.int(10);
  const yes = choice < 4 || choice === 9;
  const no = (choice >= 4 && choice < 8) || choice === 9;
  const locale = r.chance(0.7) ? r.pick(LOCALES.slice(0, 3)) : r.pick(LOCALES);
  const vref = r.between(0.3, 3);
  const sensible = tab === 'calc'
    ? [r.between(100, 100000), vref, r.between(vref, 60), r.between(vref, 40), r.between(0.2, 0.8)]
    : [r.between(1, 1e6), r.between(100, 100000), r.between(100, 1e6), vref, r.between(0.2, 0.8)];
  // Most presses compute, so that most analyses have a design to work on.
  const messy = r.chance(0.6) ? 0 : 0.4;
  const texts = sensible.map((value) => boxText(r, value, locale, messy));
  const request = { op: 'press', tab, yes, no, texts };
  if (r.chance(0.9)) {
    [request.decimal, request.group] = locale;
  }
  return request;
}

// Each setting's values: its default, edges and faults; the third sets the scale of random ones.
const SETTING_VALUES = {
  resistor_pct: [0, 0.1, 1, 5, 99.999, 100, -1],
  vref_pct: [0, 0.5, 1, 2, 100, -0.001],
  level_mv: [0, 1, 10, 50, 1e6, -1],
  vf_v: [0, 0.05, 0.2, -0.05],
  pin_v: [0, 1.8, 3.3, 5, 12, -1, 1e308, 5e-324],
  temp_min_c: [-40, 25, -60, -273.15, -273.16, 85, 500, 501],
  temp_max_c: [85, 25, 125, -40, 500, 500.01, -300],
  tcr_ppm: [0, 25, 100, 500, 1e4, -1, 1e6],
  vref_drift_ppm: [0, 10, 50, -0.5, 1e5],
  vf_tempco_mv: [-2, 0, -3, -100, 100, -100.01, 2.5],
  fb_current_na: [0, 10, 100, 1e4, 1e6, -1],
  spec_pct: [5, 0.01, 3, 0, 100, 99.99, -5],
};

// The pair to fit: a preferred pair's rank, or R1 and R3 near the design's or out of range.
function fitMember(r) {
  if (r.chance(0.6)) {
    return { pair: r.chance(0.9) ? 1 + r.int(3) : r.pick([0, 4, -1, 1e9]) };
  }
  const ohms = () => (r.chance(0.9) ? r.between(1, 1e6) : r.pick([0, -1, 5e-324, 1e308]));
  return { r1: ohms(), r3: ohms() };
}

// The yield's settings, of few boards: one chunk or two, any seed, either distribution.
function yieldSettings(r, settings) {
  settings.boards = r.pick([1000, 1000, 2500, 17000, '1200']);
  if (r.chance(0.5)) {
    settings.seed = r.pick([0, 7, 4294967297, '18446744073709551615', '12345678901234567890']);
  }
  if (r.chance(0.5)) {
    settings.distribution = r.pick(['uniform', 'normal', 'Normal']);
  }
}

function analyseRequest(r) {
  const request = { op: 'analyse', tab: r.pick(['calc', 'check']) };
  if (r.chance(0.8)) {
    request.decimal = r.pick(['.', ',', '\u066b', '']);
  }
  if (r.chance(0.7)) {
    const settings = {};
    if (r.chance(0.4)) {
      settings.series = r.chance(0.97) ? r.pick(['E6', 'E12', 'E24', 'E48', 'E96', 'E192']) : 'e96';
    }
    for (const [name, values] of Object.entries(SETTING_VALUES)) {
      if (r.chance(0.4)) {
        settings[name] = r.chance(0.2) ? r.pick(values) : r.between(0, values[2] * 2);
      }
    }
    request.settings = settings;
  }
  if (r.chance(0.4)) {
    request.fit = fitMember(r);
  }
  // The synthesis takes some 30 ms in the module, the yield a few more: now and then.
  if (r.chance(0.03)) {
    request.synthesis = true;
  }
  if (r.chance(0.012)) {
    request.yield = true;
    request.settings = request.settings || {};
    yieldSettings(r, request.settings);
  }
  return request;
}

// A setting's box as typed: lists, resistances, whole numbers and the rest.
function readSettingRequest(r) {
  const key = r.pick(['parts', 'grades', 'r2_min', 'r2_max', 'boards', 'seed', 'distribution',
                      'spec_pct', 'series']);
  const texts = {
    parts: ['4k7\n10k\n470R', '4k7\r\n4x7', '', '# none\n', '\ufeff1M\n2M2\n1M', '0.5\n',
            'value, price, mpn, manufacturer\n4k7, 0.01, A-1, Maker\n4k7, 0.02, B-1,\n10k, , ,',
            'Value, TCR\n1k, 50\n2k, -1', 'value, colour\n1k, red', 'mpn, price\nX, 1'],
    grades: ['E96, 1, 50, thick film', 'parts, 0.1, 25', '', 'E7, 1, 50', 'E24, 100, 5'],
    r2_min: ['4k7', '', ' 10k ', '0.5', '1e7', '4x7'],
    r2_max: ['22k', '1e400', 'NaN'],
    boards: ['1000', '999', '10000000', '99999999999999999999', '1e4', ' 2000 '],
    seed: ['0', '18446744073709551615', '18446744073709551616', '-1', 'x'],
    distribution: ['normal', 'Uniform', 'gauss'],
    spec_pct: ['2.5', '', '100'],
    series: ['E24', 'parts', 'e7'],
  }[key];
  return { op: 'read_setting', key, text: r.chance(0.8) ? r.pick(texts) : r.pick(PIECES.garbage) };
}

// A design saved from a press's boxes, or a file's text opened: a saved one, or one spoiled.
function fileRequest(r, saved) {
  if (saved.length === 0 || r.chance(0.5)) {
    const press = pressRequest(r);
    const request = { ...press, op: 'save_design', note: r.pick(['', '5V rail', '<b>"x"</b>']) };
    if (r.chance(0.5)) {
      request.settings = analyseRequest(r).settings || {};
    }
    if (r.chance(0.3)) {
      request.fit = fitMember(r);
    }
    return request;
  }
  let file = r.pick(saved);
  switch (r.int(4)) {
    case 0: file = file.slice(0, r.int(file.length)); break;
    case 1: file = file.replace(/\d/, r.pick(['x', 'NaN', '1e999', '-'])); break;
    case 2: file = file.replace('"version": 1', '"version": 2'); break;
    default: break;
  }
  return { op: 'open_design', file, file_name: r.pick(['rail.okep', 'a "b".okep', '']),
           decimal: r.pick(['.', ',']) };
}

// A document of the analysis: its date and note are the caller's text, markup and all.
function documentRequest(r) {
  const request = analyseRequest(r);
  request.op = 'report_html';
  request.date = r.pick(['2025-12-31', '', '<b>31</b>', '\u00e9t\u00e9', '\ud83d\ude00']);
  if (r.chance(0.5)) {
    request.note = r.pick(['<script>alert(1)</script>', 'Rail "5V" & <3', 'line\nbreak',
                           ...PIECES.garbage]);
  }
  return request;
}

// Requests the interface must refuse: broken text, wrong types, unknown members.
function badRequest(r) {
  const whole = JSON.stringify(r.chance(0.5) ? pressRequest(r) : analyseRequest(r));
  switch (r.int(5)) {
    case 0: return whole.slice(0, r.int(whole.length));
    case 1: return whole.replace(/true|false|"pair":\d/, '"yes"');
    case 2: return whole.replace('{', '{"extra":1,');
    case 3: return r.pick(['', '[]', 'null', '42', '"press"', '{}', '{"op":1}', '\u00ff']);
    default: return whole.replace(/"texts":\[[^\]]*\]/, '"texts":["1","2"]');
  }
}

// Design files the requests may open: a few written by the native core beforehand.
function savedFiles(driverPath) {
  const r = generator(seed + 1);
  const saves = Array.from({ length: 8 }, () => JSON.stringify(fileRequest(r, [])));
  const answers = execFileSync(driverPath, [], { input: saves.join('\n') + '\n', encoding: 'utf8' });
  return answers.trim().split('\n').map((line) => JSON.parse(line).file).filter(Boolean);
}

function requests(total, saved) {
  const r = generator(seed);
  const lines = [];
  for (let i = 0; i < total; ++i) {
    const kind = r.next();
    const line = kind < 0.66 ? JSON.stringify(pressRequest(r))
      : kind < 0.92 ? JSON.stringify(analyseRequest(r))
        : kind < 0.93 ? JSON.stringify(documentRequest(r))
          : kind < 0.94 ? JSON.stringify(readSettingRequest(r))
            : kind < 0.95 ? JSON.stringify(fileRequest(r, saved)) : badRequest(r);
    lines.push(line.replace(/\n/g, ' '));
  }
  return lines;
}

// The module's answer to a request, its yield run to the end in steps of a few chunks.
function wasmAnswer(wasm, request, r) {
  let answer = wasm.request(request);
  while (answer.startsWith('{"progress"')) {
    yields.steps += 1;
    const next = JSON.parse(answer).next;
    answer = wasm.request(JSON.stringify(r.chance(0.5) ? next : { ...next, chunks: 1 + r.int(6) }));
  }
  return answer;
}
const yields = { steps: 0, estimated: 0 };

// The driver answers a batch of lines before the next batch is written.
function nativeCore(path) {
  const child = spawn(path, ['--all-at-once'], { stdio: ['pipe', 'pipe', 'inherit'] });
  const lines = createInterface({ input: child.stdout });
  const waiting = [];
  const ready = [];
  lines.on('line', (line) => (waiting.length ? waiting.shift()(line) : ready.push(line)));
  const nextLine = () => new Promise((resolve) => (ready.length ? resolve(ready.shift()) : waiting.push(resolve)));
  return {
    async answer(batch) {
      child.stdin.write(batch.join('\n') + '\n');
      const answers = [];
      for (let i = 0; i < batch.length; ++i) {
        answers.push(await nextLine());
      }
      return answers;
    },
    close() {
      child.stdin.end();
    },
  };
}

test('native and WebAssembly cores answer every request alike', { skip: !driverPath || !modulePath
  ? 'set ORVALEX_REQUEST_DRIVER and ORVALEX_CORE_MODULE (scripts/test.sh does)' : false }, async () => {
  const OrvalexCore = createRequire(import.meta.url)(modulePath);
  const wasm = await OrvalexCore({ wasmBinary: readFileSync(modulePath.replace(/\.js$/, '.wasm')) });
  const native = nativeCore(driverPath);
  const started = performance.now();
  const all = requests(count, savedFiles(driverPath));
  const steps = generator(seed + 2);
  const kinds = { press: 0, analyse: 0, document: 0, refused: 0, other: 0 };
  const mismatches = [];
  const batchSize = 500;
  for (let start = 0; start < all.length; start += batchSize) {
    const batch = all.slice(start, start + batchSize);
    // The driver works on the batch while the module answers it here.
    const nativeDone = native.answer(batch);
    const answers = batch.map((request) => wasmAnswer(wasm, request, steps));
    const nativeAnswers = await nativeDone;
    batch.forEach((request, i) => {
      const answer = answers[i];
      if (answer !== nativeAnswers[i] && mismatches.length < 5) {
        mismatches.push({ index: start + i, request, native: nativeAnswers[i], wasm: answer });
      }
      yields.estimated += /"yield":\{/.test(answer) ? 1 : 0;
      kinds[answer.startsWith('{"error"') ? 'refused' : answer.startsWith('{"recorded":true,"html"')
        ? 'document' : answer.startsWith('{"recorded"') ? 'analyse'
          : answer.startsWith('{"message"') ? 'press' : 'other'] += 1;
    });
  }
  native.close();
  const seconds = (performance.now() - started) / 1000;
  console.log(`differential: ${all.length} requests (${kinds.press} presses, ${kinds.analyse} ` +
    `analyses, ${kinds.document} documents, ${kinds.other} settings and files, ${kinds.refused} ` +
    `refused; ${yields.estimated} yields in ${yields.steps} steps), seed ${seed}, ${seconds.toFixed(1)} s`);
  assert.deepEqual(mismatches, []);
});
