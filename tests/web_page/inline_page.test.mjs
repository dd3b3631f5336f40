// The page's inliner: every placeholder filled, the core's WebAssembly unpacked byte for byte by
// the page's own loader, and templates that would give a broken page refused.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, writeFileSync, readFileSync, cpSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import vm from 'node:vm';

const root = new URL('../..', import.meta.url).pathname;
const standIn = join(root, 'tests/web_page/stand_in_page');
const pictures = join(root, 'main_window/pictures');
// Bytes that deflate must carry through unchanged, zeros and high bytes included.
const wasm = Buffer.from([0, 97, 115, 109, 1, 0, 0, 0, 255, 128, 0, 10]);

// A page folder from the stand-in, with some files replaced, and a stand-in module.
function inline(changes = {}) {
  const dir = mkdtempSync(join(tmpdir(), 'inline-'));
  const page = join(dir, 'page');
  cpSync(standIn, page, { recursive: true });
  for (const [name, text] of Object.entries(changes)) {
    writeFileSync(join(page, name), text);
  }
  mkdirSync(join(dir, 'core'));
  // Stands for emscripten's module: made from what the loader's instantiateWasm hands over.
  writeFileSync(join(dir, 'core/orvalex-core.js'), `var OrvalexCore = function (m) {
    return new Promise(function (resolve) {
      m.instantiateWasm({}, function (instance) { resolve({ wasm: instance }); });
    });
  };`);
  writeFileSync(join(dir, 'core/orvalex-core.wasm'), wasm);
  const out = join(dir, 'orvalex-kep.html');
  const run = spawnSync(process.execPath, [join(root, 'web_page/inline_page.mjs'),
    '--page', page, '--pictures', pictures, '--module', join(dir, 'core/orvalex-core.js'),
    '--out', out], { encoding: 'utf8' });
  return { status: run.status, stderr: run.stderr, html: run.status === 0 ? readFileSync(out, 'utf8') : '' };
}

test('every placeholder is filled', () => {
  const { status, html } = inline({ 'app.js': "const kept = '$& $1';" });
  assert.equal(status, 0);
  const schematic = readFileSync(join(pictures, 'schematic.svg'));
  const rows = [
    ['style', '<style>\n/* The stand-in page\'s style. */'],
    ['picture as data URI', `data:image/svg+xml;base64,${schematic.toString('base64')}"`],
    ['picture inline', '<div id="Icon"><svg'],
    ['script with "$" kept', "<script>\nconst kept = '$& $1';\n</script>"],
    ['core', 'var OrvalexCore = function'],
  ];
  for (const [name, text] of rows) {
    assert.ok(html.includes(text), name);
  }
  assert.doesNotMatch(html, /<!-- (STYLE|MODULE|SCRIPT|PICTURE)|\{\{picture:|<\?xml/);
  // The core comes before the page's script, which calls it.
  assert.ok(html.indexOf('loadOrvalexCore = ') < html.indexOf("const kept"));
});

test('the loader unpacks the WebAssembly byte for byte, once', async () => {
  const { html } = inline();
  // The core's script, kept as text in the page until the first call runs it.
  const source = html.match(/<script type="text\/plain" id="OrvalexCoreSource">\n([\s\S]*?)\n<\/script>/)[1];
  // Stands for the browser's compiler: gives back the bytes of the response it streams.
  const WebAssembly = {
    instantiateStreaming: async (response) => ({ instance: new Uint8Array(await response.arrayBuffer()) }),
  };
  const context = vm.createContext({ atob, Response, DecompressionStream, Uint8Array, WebAssembly });
  vm.runInContext(source, context);
  const made = await vm.runInContext('loadOrvalexCore()', context);
  assert.deepEqual(Buffer.from(made.wasm), wasm);
  assert.equal(await vm.runInContext('loadOrvalexCore()', context), made);
});

test('templates that would break the page are refused', () => {
  const template = readFileSync(join(standIn, 'orvalex-kep.html'), 'utf8');
  const rows = [
    ['style twice', { 'orvalex-kep.html': template.replace('<!-- STYLE -->', '<!-- STYLE --><!-- STYLE -->') }, /<!-- STYLE --> 2 times/],
    ['no module', { 'orvalex-kep.html': template.replace('<!-- MODULE -->', '') }, /<!-- MODULE --> 0 times/],
    ['script ends early', { 'app.js': 'const s = "</script>";' }, /app\.js holds/],
    ['comment opener in script', { 'app.js': 'const s = "<!--";' }, /app\.js holds/],
    ['style ends early', { 'style.css': 'p { content: "</style>"; }' }, /style\.css holds/],
    ['picture outside its folder', { 'orvalex-kep.html': template.replace('icon.svg', '../icon.svg') }, /not a picture's file name/],
    ['missing picture', { 'orvalex-kep.html': template.replace('icon.svg', 'none.svg') }, /none\.svg is missing/],
  ];
  for (const [name, changes, message] of rows) {
    const { status, stderr } = inline(changes);
    assert.equal(status, 1, name);
    assert.match(stderr, message, name);
  }
});
