// The page's inliner: every placeholder filled, the core's WebAssembly unpacked byte for byte by
// the page's own loader, the settings' table asked of the core, templates that would give a
// broken page refused; and the joiner of the page's modules, what it joins and what it refuses.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, writeFileSync, readFileSync, cpSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import vm from 'node:vm';

import { joinModules } from '../../web_page/join_modules.mjs';

const root = new URL('../..', import.meta.url).pathname;
const standIn = join(root, 'tests/web_page/stand_in_page');
const pictures = join(root, 'main_window/pictures');
// Bytes that deflate must carry through unchanged, zeros and high bytes included.
const wasm = Buffer.from([0, 97, 115, 109, 1, 0, 0, 0, 255, 128, 0, 10]);

// What the stand-in core describes: text that would end the script if it were not escaped.
const table = { settings: [{ id: 'Spec', help: '</script><!-- 5 %' }], fit: {} };

// A page folder from the stand-in, with some files replaced, and a stand-in module that Node can
// load to describe its settings (`describe` replaces its answer).
function inline(changes = {}, describe = table) {
  const dir = mkdtempSync(join(tmpdir(), 'inline-'));
  const page = join(dir, 'page');
  cpSync(standIn, page, { recursive: true });
  for (const [name, text] of Object.entries(changes)) {
    writeFileSync(join(page, name), text);
  }
  mkdirSync(join(dir, 'core'));
  // The answer as a string literal with "<" escaped, so that the core's own text may be inlined.
  const answerLiteral = JSON.stringify(JSON.stringify(describe)).replace(/</g, '\\u003c');
  // Stands for emscripten's module: made from what the loader's instantiateWasm hands over.
  writeFileSync(join(dir, 'core/orvalex-core.js'), `var OrvalexCore = function (m) {
    return new Promise(function (resolve) {
      if (!m.instantiateWasm) {
        resolve({ request: function () { return ${answerLiteral}; } });
        return;
      }
      m.instantiateWasm({}, function (instance) { resolve({ wasm: instance }); });
    });
  };
  if (typeof module === 'object') { module.exports = OrvalexCore; }`);
  writeFileSync(join(dir, 'core/orvalex-core.wasm'), wasm);
  const out = join(dir, 'orvalex-kep.html');
  const run = spawnSync(process.execPath, [join(root, 'web_page/inline_page.mjs'),
    '--page', page, '--pictures', pictures, '--module', join(dir, 'core/orvalex-core.js'),
    '--out', out], { encoding: 'utf8' });
  return { status: run.status, stderr: run.stderr, html: run.status === 0 ? readFileSync(out, 'utf8') : '' };
}

test('every placeholder is filled', () => {
  const { status, html } = inline({ 'start.js': "const kept = '$& $1';" });
  assert.equal(status, 0);
  const schematic = readFileSync(join(pictures, 'schematic.svg'));
  const rows = [
    ['style', '<style>\n/* The stand-in page\'s style. */'],
    ['picture as data URI', `data:image/svg+xml;base64,${schematic.toString('base64')}"`],
    ['picture inline', '<div id="Icon"><svg'],
    ['script with "$" kept', "const module_start_js = (() => {\nconst kept = '$& $1';"],
    ['core', 'var OrvalexCore = function'],
    ['worker after the core', "const module_core_worker_js = (() => {\nconst {greeting} = module_words_js;"],
    ['settings table', '<script type="application/json" id="SettingsTable">{"settings"'],
  ];
  for (const [name, text] of rows) {
    assert.ok(html.includes(text), name);
  }
  assert.doesNotMatch(html, /<!-- (STYLE|MODULE|SCRIPT|SETTINGS|PICTURE)|\{\{picture:|<\?xml/);
  // The table reads back as the core gave it, with nothing in it that ends its script.
  const json = html.match(/id="SettingsTable">(.*?)<\/script>/)[1];
  assert.deepEqual(JSON.parse(json), table);
  assert.doesNotMatch(json, /<\/script|<!--/i);
});

test('the loader unpacks the WebAssembly byte for byte, once', async () => {
  const { html } = inline();
  // The core's script, kept as text in the page until the first call runs it.
  const source = html.match(/<script type="text\/plain" id="OrvalexCoreSource">\n([\s\S]*?)\n<\/script>/)[1];
  // Stands for the browser's compiler: gives back the bytes of the response it streams.
  const WebAssembly = {
    instantiateStreaming: async (response) => ({ instance: new Uint8Array(await response.arrayBuffer()) }),
  };
  // The worker's script runs too, and asks for the core first.
  const worker = { addEventListener() {}, postMessage: (message) => (worker.said = message) };
  const context = vm.createContext({ atob, Response, DecompressionStream, Uint8Array, WebAssembly, self: worker });
  vm.runInContext(source, context);
  const made = await vm.runInContext('loadOrvalexCore()', context);
  assert.deepEqual(Buffer.from(made.wasm), wasm);
  assert.equal(await vm.runInContext('loadOrvalexCore()', context), made);
  assert.equal(worker.said, 'joined');
});

test('templates that would break the page are refused', () => {
  const template = readFileSync(join(standIn, 'orvalex-kep.html'), 'utf8');
  const rows = [
    ['style twice', { 'orvalex-kep.html': template.replace('<!-- STYLE -->', '<!-- STYLE --><!-- STYLE -->') }, /<!-- STYLE --> 2 times/],
    ['no module', { 'orvalex-kep.html': template.replace('<!-- MODULE -->', '') }, /<!-- MODULE --> 0 times/],
    ['script ends early', { 'start.js': 'const s = "</script>";' }, /start\.js holds/],
    ['comment opener in script', { 'start.js': 'const s = "<!--";' }, /start\.js holds/],
    ['comment opener in the worker', { 'core_worker.js': 'const s = "<!--";' }, /orvalex-core\.js holds/],
    ['no settings', { 'orvalex-kep.html': template.replace('<!-- SETTINGS -->', '') }, /<!-- SETTINGS --> 0 times/],
    ['module the page misses', { 'start.js': "import {x} from './none.js';" }, /none\.js is missing/],
    ['module it cannot join', { 'words.js': 'export default 1;' }, /words\.js: cannot join an export default/],
    ['style ends early', { 'style.css': 'p { content: "</style>"; }' }, /style\.css holds/],
    ['picture outside its folder', { 'orvalex-kep.html': template.replace('icon.svg', '../icon.svg') }, /not a picture's file name/],
    ['missing picture', { 'orvalex-kep.html': template.replace('icon.svg', 'none.svg') }, /none\.svg is missing/],
  ];
  for (const [name, changes, message] of rows) {
    const { status, stderr } = inline(changes);
    assert.equal(status, 1, name);
    assert.match(stderr, message, name);
  }
  const refused = inline({}, { error: 'the request has no member "op"' });
  assert.equal(refused.status, 1);
  assert.match(refused.stderr, /does not describe its settings: the request has no member "op"/);
});

// Modules by name, joined from start.js and run; what the run leaves in `out`.
function joinAndRun(modules) {
  const script = joinModules('start.js', (name) => {
    if (!(name in modules)) {
      throw new Error(`${name} is missing`);
    }
    return modules[name];
  });
  const context = vm.createContext({ out: [] });
  vm.runInContext(script, context);
  return { script, out: context.out };
}

test('the joiner runs each module once, after the modules it imports', () => {
  // name, modules, what they leave in `out`
  const rows = [
    ['a chain, braces over lines', {
      'start.js': "import {\n  twice,\n  base,\n} from './math.js';\nout.push(twice(base));",
      'math.js': 'export const base = 21;\nexport function twice(x) {\n  return 2 * x;\n}',
    }, [42]],
    ['a chain', {
      'start.js': "import {twice, base} from './math.js';\nout.push(twice(base));",
      'math.js': "import {seed} from './consts.js';\nout.push('math');\nexport const base = seed + 1;\n" +
        'export function twice(x) {\n  return 2 * x;\n}',
      'consts.js': "out.push('consts');\nexport const seed = 20;",
    }, ['consts', 'math', 42]],
    // d is shared by b and c: made once, before both.
    ['a diamond', {
      'start.js': "import {b} from './b.js';\nimport {c} from './c.js';\nout.push(b + c);",
      'b.js': "import {d} from './d.js';\nexport const b = d.next();",
      'c.js': "import {d} from './d.js';\nexport const c = d.next();",
      'd.js': "out.push('d');\nlet n = 0;\nexport const d = {next: () => ++n};",
    }, ['d', 3]],
    // Names a module keeps to itself, or exports unasked, never meet another module's.
    ['the same names in two modules', {
      'start.js': "import {value} from './one.js';\nimport {other} from './two.js';\nconst local = 1;\nout.push(value + other + local);",
      'one.js': 'const local = 10;\nexport const value = local;\nexport const other = 0;',
      'two.js': 'const local = 100;\nexport const value = -1;\nexport const other = local;',
    }, [111]],
    ['async functions and classes', {
      'start.js': "import {Box, later} from './kinds.js';\nout.push(new Box(5).size, typeof later);",
      'kinds.js': 'export class Box {\n  constructor(size) { this.size = size; }\n}\n' +
        'export async function later() {}',
    }, [5, 'function']],
  ];
  for (const [name, modules, expected] of rows) {
    assert.deepEqual([...joinAndRun(modules).out], expected, name);
  }
});

test('the joiner refuses what it cannot join, by name', () => {
  const lone = (text) => ({ 'start.js': "import {a} from './a.js';\nout.push(a);", 'a.js': text });
  // name, modules, the refusal
  const rows = [
    ['export default', lone('export default 1;'), /a\.js: cannot join an export default/],
    ['export let', lone('export let a = 1;'), /a\.js: cannot join an exported let or var/],
    ['export var', lone('export var a = 1;'), /exported let or var/],
    ['export list', lone('const a = 1;\nexport {a};'), /export list or re-export/],
    ['re-export', lone("export * from './b.js';"), /export list or re-export/],
    ['export of a destructuring', lone('export const {a} = {a: 1};'), /an export of another kind/],
    ['namespace import', { 'start.js': "import * as a from './a.js';" }, /start\.js: cannot join an import of another kind/],
    ['default import', { 'start.js': "import a from './a.js';" }, /an import of another kind/],
    ['import from a package', { 'start.js': "import {a} from 'a';" }, /an import of another kind/],
    ['renamed import', { 'start.js': "import {a as b} from './a.js';", 'a.js': 'export const a = 1;' },
     /start\.js: cannot join the import "a as b"/],
    ['name not exported', lone('export const b = 1;'), /start\.js imports "a" from a\.js, which does not export it/],
    ['name imported twice', { 'start.js': "import {a} from './a.js';\nimport {a} from './b.js';",
                              'a.js': 'export const a = 1;', 'b.js': 'export const a = 2;' }, /start\.js: imports "a" twice/],
    ['cycle', { 'start.js': "import {a} from './a.js';", 'a.js': "import {b} from './b.js';\nexport const a = b;",
                'b.js': "import {a} from './a.js';\nexport const b = a;" },
     /an import cycle: start\.js -> a\.js -> b\.js -> a\.js/],
    ['missing module', { 'start.js': "import {a} from './a.js';" }, /a\.js is missing/],
    ['text that does not parse', lone('export const a = (;'), /the joined start\.js does not parse/],
  ];
  for (const [name, modules, refusal] of rows) {
    assert.throws(() => joinAndRun(modules), refusal, name);
  }
});
