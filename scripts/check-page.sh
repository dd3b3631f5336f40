#!/usr/bin/env bash
# Checks the page's JavaScript: TypeScript's checker over its modules and its worker (JSDoc types,
# nothing emitted), then ESLint's recommended rules over them and the scripts that build the page.
set -euo pipefail
cd "$(dirname "$0")/../web_page"
npm ci --no-audit --no-fund --loglevel=error
npx --no-install tsc -p tsconfig.json
npx --no-install tsc -p tsconfig.worker.json
npx --no-install eslint .
