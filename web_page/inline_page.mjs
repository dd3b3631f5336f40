// Writes the page as one self-contained file: the template with its style, script, pictures and
// the WebAssembly core put in place of its placeholders (see web_page/README.md).
// Usage: node inline_page.mjs --page DIR --pictures DIR --module orvalex-core.js --out FILE
import { readFileSync, writeFileSync, existsSync } from 'node:fs';
import { join, basename } from 'node:path';
import { parseArgs } from 'node:util';
import { gzipSync, constants } from 'node:zlib';

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

// The core: emscripten's JavaScript, which defines OrvalexCore, and the WebAssembly gzipped in
// base64, unpacked by the browser's own DecompressionStream when the page first asks for it.
function moduleScripts(modulePath) {
  const glue = read(modulePath).toString('utf8');
  const wasm = read(modulePath.replace(/\.js$/, '.wasm'));
  const packed = gzipSync(wasm, { level: constants.Z_BEST_COMPRESSION }).toString('base64');
  const loader = `// Makes the core once: loadOrvalexCore() gives a promise of the module, whose
// request(jsonText) answers with JSON text.
var loadOrvalexCore = (function () {
  var core;
  return function () {
    if (!core) {
      var text = atob('${packed}');
      var bytes = new Uint8Array(text.length);
      for (var i = 0; i < text.length; ++i) {
        bytes[i] = text.charCodeAt(i);
      }
      var unpacked = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
      core = new Response(unpacked).arrayBuffer().then(function (wasmBinary) {
        return OrvalexCore({ wasmBinary: wasmBinary });
      });
    }
    return core;
  };
})();`;
  return {
    html: `${script(glue, basename(modulePath))}\n${script(loader, 'the loader')}`,
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
html = html.replace(/<!-- PICTURE ([^ ]+) -->/g, (_, name) => inlinePicture(name));
html = html.replace(/\{\{picture:([^}]+)\}\}/g, (_, name) => pictureUri(name));
html = html.replace('\u0000MODULE\u0000', () => core.html);
html = html.replace('\u0000SCRIPT\u0000', () =>
  script(read(join(args.page, 'app.js')).toString('utf8'), 'app.js'),
);
writeFileSync(args.out, html);
const size = Buffer.byteLength(html);
console.log(
  `${args.out}: ${size} bytes (${(size / 1024).toFixed(1)} KiB); the core ${core.wasmBytes} bytes ` +
    `of WebAssembly, ${core.packedBytes} gzipped in base64`,
);
