// Joins the page's ES modules into one classic script without a bundler: each module becomes a
// function that returns its exports, run in the order of its imports, all inside one function.
// It takes a small, strict part of the module syntax and refuses the rest by name.
import vm from 'node:vm';

export class JoinError extends Error {}

// `import {a, b} from './name.js';`, the braces over one line or several.
const ImportStatement = /^import\s*\{([^}]*)\}\s*from\s*'\.\/([\w-]+\.js)';[ \t]*$/gm;
// `export function f`, `export async function f`, `export const c`, `export class C`.
const ExportDeclaration = /^export\s+((?:async\s+)?function\*?|const|class)\s+([A-Za-z_$][\w$]*)/gm;
const PlainName = /^[A-Za-z_$][\w$]*$/;

// Why a leftover import or export line cannot be joined.
function refusal(line) {
  if (/^export\s+default\b/.test(line)) {
    return 'an export default (export a named function or constant)';
  }
  if (/^export\s+(let|var)\b/.test(line)) {
    return 'an exported let or var (export a constant object to share what changes)';
  }
  if (/^export\s*(\{|\*)/.test(line)) {
    return 'an export list or re-export (export each declaration where it stands)';
  }
  if (/^export\b/.test(line)) {
    return 'an export of another kind (export a function, constant or class by name)';
  }
  return "an import of another kind (only import {a, b} from './name.js';)";
}

function parseModule(name, text) {
  const imports = [];
  let body = text.replace(ImportStatement, (_, list, from) => {
    const names = list.split(',').map((part) => part.trim()).filter(Boolean);
    for (const imported of names) {
      if (!PlainName.test(imported)) {
        throw new JoinError(`${name}: cannot join the import "${imported}" (renamed or not a name)`);
      }
    }
    imports.push({from, names});
    return '';
  });
  const exports = [];
  body = body.replace(ExportDeclaration, (_, kind, exported) => {
    exports.push(exported);
    return `${kind} ${exported}`;
  });
  const left = body.match(/^(import|export)\b.*$/m);
  if (left) {
    throw new JoinError(`${name}: cannot join ${refusal(left[0])}: "${left[0].trim()}"`);
  }
  const seen = new Set();
  for (const imported of imports.flatMap((entry) => entry.names)) {
    if (seen.has(imported)) {
      throw new JoinError(`${name}: imports "${imported}" twice`);
    }
    seen.add(imported);
  }
  return {name, imports, exports, body: body.trim()};
}

// The modules reachable from the entry, each after those it imports.
function orderModules(entry, readModule) {
  const modules = new Map();
  const order = [];
  const visiting = new Set();
  const visit = (name, chain) => {
    if (visiting.has(name)) {
      throw new JoinError(`an import cycle: ${[...chain, name].join(' -> ')}`);
    }
    if (modules.has(name)) {
      return;
    }
    visiting.add(name);
    const module = parseModule(name, readModule(name));
    for (const {from} of module.imports) {
      visit(from, [...chain, name]);
    }
    for (const {from, names} of module.imports) {
      const missing = names.find((imported) => !modules.get(from).exports.includes(imported));
      if (missing) {
        throw new JoinError(`${name} imports "${missing}" from ${from}, which does not export it`);
      }
    }
    visiting.delete(name);
    modules.set(name, module);
    order.push(module);
  };
  visit(entry, []);
  return order;
}

const variableOf = (name) => `module_${name.replace(/\W/g, '_')}`;

// `readModule(name)` gives a module's text by its file name ('state.js'); the result is one
// script, checked to parse.
export function joinModules(entry, readModule) {
  const parts = orderModules(entry, readModule).map((module) => {
    const imports = module.imports.map(({from, names}) =>
      `const {${names.join(', ')}} = ${variableOf(from)};\n`).join('');
    return `// ${module.name}\nconst ${variableOf(module.name)} = (() => {\n${imports}${module.body}\n` +
      `return {${module.exports.join(', ')}};\n})();\n`;
  });
  const script = `(() => {\n'use strict';\n${parts.join('\n')}})();\n`;
  try {
    new vm.Script(script, {filename: entry});
  } catch (error) {
    throw new JoinError(`the joined ${entry} does not parse: ${error.message}`);
  }
  return script;
}
