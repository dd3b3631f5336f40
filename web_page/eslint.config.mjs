// ESLint's recommended rules over the page's modules, its worker, and the scripts that build the
// page (the inliner and the joiner).
import js from '@eslint/js';
import globals from 'globals';

export default [
  { ignores: ['node_modules/'] },
  js.configs.recommended,
  {
    files: ['page/**/*.js'],
    ignores: ['page/core_worker.js'],
    languageOptions: { sourceType: 'module', globals: globals.browser },
  },
  {
    files: ['page/core_worker.js'],
    languageOptions: {
      sourceType: 'module',
      globals: { ...globals.worker, loadOrvalexCore: 'readonly' },
    },
  },
  {
    // Emscripten's --post-js, which runs inside the module's own scope.
    files: ['api/request_export.js'],
    languageOptions: {
      sourceType: 'script',
      globals: Object.fromEntries(['Module', 'lengthBytesUTF8', '_malloc', 'stringToUTF8',
        'UTF8ToString', '_orvalex_request', '_free'].map((name) => [name, 'readonly'])),
    },
  },
  {
    files: ['*.mjs'],
    languageOptions: { sourceType: 'module', globals: globals.node },
  },
];
