// Writes the page as one self-contained file: the template with its style, script, pictures,
// settings' table and the WebAssembly core put in place of its placeholders (see
// web_page/README.md).
// Usage: node inline_page.mjs --page DIR --pictures DIR --module orvalex-core.js --out FILE
import { readFileSync, writeFileSync, existsSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join, basename, resolve } from 'node:path';
import { parseArgs } from 'node:util';
import { deflateRawSync, constants } from 'node:zlib';

import { joinModules, JoinError } from './join_modules.mjs';
import { Keys } from './page/protocol.js';

const { values: args } = parseArgs({
  options: {
    page: { type: 'string' },
    pictures: { type: 'string' },
    module: { type: 'string' },
    out: { type: 'string' },
  },
});
for (const name of ['page', 'pictures', 'module', 'out']) {
  if (!args[name]) {
    fail(`--${name} is missing`);
  }
}

function fail(text) {
  console.error(`inline_page: ${text}`);
  process.exit(1);
}

function read(path) {
  if (!existsSync(path)) {
    fail(`${path} is missing`);
  }
  return readFileSync(path);
}

// An inlined script ends at the first "</script" and changes parsing after "<!--", so neither
// may stand in it; the style likewise ends at "</style".
function checkedText(text, name, closing) {
  const lower = text.toLowerCase();
  if (lower.includes(closing) || (closing === '</script' && lower.includes('<!--'))) {
    fail(`${name} holds "${closing}" or "<!--", which would end or change the inlined element`);
  }
  return text;
}

function script(text, name) {
  return `<script>\n${checkedText(text, name, '</script')}\n</script>`;
}

// The page's modules, from the entry on, as one script.
function joinedModules(entry) {
  try {
    return joinModules(entry, (name) => read(join(args.page, name)).toString('utf8'));
  } catch (error) {
    if (error instanceof JoinError) {
      fail(error.message);
    }
    throw error;
  }
}

// The core's table of settings and the fit's fields, asked of the built module under Node, as
// JSON the page reads at start; "<" escaped, so that nothing in it can end the script.
async function settingsTable(modulePath) {
  const OrvalexCore = createRequire(import.meta.url)(resolve(modulePath));
  const core = await OrvalexCore({ wasmBinary: read(modulePath.replace(/\.js$/, '.wasm')) });
  const table = JSON.parse(core.request(JSON.stringify({ [Keys.Op]: Keys.OpDescribe })));
  if (table[Keys.Error]) {
    fail(`the core does not describe its settings: ${table[Keys.Error]}`);
  }
  const json = JSON.stringify(table).replace(/</g, '\\u003c');
  return `<script type="application/json" id="SettingsTable">${json}</script>`;
}

// The core: emscripten's JavaScript, which defines OrvalexCore, the WebAssembly deflated in
// base64, unpacked by the browser's own DecompressionStream when the worker first asks for it,
// and the worker's own script (core_worker.js and its imports).
// Written to the stream in one piece, decoded by Uint8Array.fromBase64 where the browser has it
// and compiled as it streams, the core is ready some 7 ms after the call; through a Blob's
// stream, atob and then the whole binary, 15 ms.
function moduleScripts(modulePath) {
  const glue = read(modulePath).toString('utf8');
  const wasm = read(modulePath.replace(/\.js$/, '.wasm'));
  const packed = deflateRawSync(wasm, { level: constants.Z_BEST_COMPRESSION }).toString('base64');
  const loader = `// Makes the core once: loadOrvalexCore() gives a promise of the module, whose
// request(jsonText) answers with JSON text.
var loadOrvalexCore = (function () {
  var core;
  function bytesOf(base64) {
    if (Uint8Array.fromBase64) {
      return Uint8Array.fromBase64(base64);
    }
    var text = atob(base64);
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; ++i) {
      bytes[i] = text.charCodeAt(i);
    }
    return bytes;
  }
  return function () {
    if (!core) {
      var unpacking = new DecompressionStream('deflate-raw');
      var writer = unpacking.writable.getWriter();
      // A failure shows where the bytes are read.
      writer.write(bytesOf('${packed}')).catch(function () {});
      writer.close().catch(function () {});
      // Compiled while it is unpacked, as a fetched .wasm would be.
      var wasm = new Response(unpacking.readable, {
        headers: { 'Content-Type': 'application/wasm' },
      });
      core = new Promise(function (resolve, reject) {
        OrvalexCore({
          instantiateWasm: function (imports, receiveInstance) {
            WebAssembly.instantiateStreaming(wasm, imports).then(function (made) {
              receiveInstance(made.instance, made.module);
            }, reject);
            return {};
          },
        }).then(resolve, reject);
      });
    }
    return core;
  };
})();`;
  // Kept as text, which the page makes into its worker, so that reading the page never waits
  // for the core's script and the page's own thread never runs it.
  const worker = joinedModules('core_worker.js');
  const source = checkedText(`${glue}\n${loader}\n${worker}`, basename(modulePath), '</script');
  return {
    html: `<script type="text/plain" id="OrvalexCoreSource">\n${source}\n</script>`,
    wasmBytes: wasm.length,
    packedBytes: packed.length,
  };
}

function picture(name) {
  if (!/^[\w-]+\.svg$/.test(name)) {
    fail(`"${name}" is not a picture's file name`);
  }
  return read(join(args.pictures, name));
}

// The SVG's own markup, for drawing inline; the XML declaration has no place inside HTML.
function inlinePicture(name) {
  return picture(name).toString('utf8').replace(/^\s*<\?xml[^>]*\?>\s*/, '');
}

function pictureUri(name) {
  return `data:image/svg+xml;base64,${picture(name).toString('base64')}`;
}

// Replaces a placeholder that must stand exactly once; a function keeps "$" in the text as it is.
function replaceOnce(html, placeholder, text) {
  const count = html.split(placeholder).length - 1;
  if (count !== 1) {
    fail(`the template holds ${placeholder} ${count} times, not once`);
  }
  return html.replace(placeholder, () => text);
}

const core = moduleScripts(args.module);
let html = read(join(args.page, 'orvalex-kep.html')).toString('utf8');
html = replaceOnce(
  html,
  '<!-- STYLE -->',
  `<style>\n${checkedText(read(join(args.page, 'style.css')).toString('utf8'), 'style.css', '</style')}\n</style>`,
);
// The script comes first: once in place, the core's and the page's texts are never searched again.
html = replaceOnce(html, '<!-- SCRIPT -->', '\u0000SCRIPT\u0000');
html = replaceOnce(html, '<!-- MODULE -->', '\u0000MODULE\u0000');
html = replaceOnce(html, '<!-- SETTINGS -->', '\u0000SETTINGS\u0000');
html = html.replace(/<!-- PICTURE ([^ ]+) -->/g, (_, name) => inlinePicture(name));
html = html.replace(/\{\{picture:([^}]+)\}\}/g, (_, name) => pictureUri(name));
const table = await settingsTable(args.module);
html = html.replace('\u0000MODULE\u0000', () => core.html);
html = html.replace('\u0000SETTINGS\u0000', () => table);
html = html.replace('\u0000SCRIPT\u0000', () => script(joinedModules('start.js'), 'start.js'));
writeFileSync(args.out, html);
const size = Buffer.byteLength(html);
console.log(
  `${args.out}: ${size} bytes (${(size / 1024).toFixed(1)} KiB); the core ${core.wasmBytes} bytes ` +
    `of WebAssembly, ${core.packedBytes} deflated in base64`,
);
