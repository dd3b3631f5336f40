#!/usr/bin/env bash
# Runs the page's browser tests in headless Chromium, offline from disk.
# Usage: test-page.sh [OUT_DIR]; the page is OUT_DIR/orvalex-kep.html (built when missing) and the
# command line, for the analysis numbers, is build/command_line/orvalex-kep.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build-web/page}"
[ -f "$out/orvalex-kep.html" ] || scripts/build-web.sh "$out"

export ORVALEX_PAGE="$PWD/$out/orvalex-kep.html"
export ORVALEX_CLI="${ORVALEX_CLI:-$PWD/build/command_line/orvalex-kep}"
(cd tests/web_page && npm ci --no-audit --no-fund --loglevel=error)
node --test tests/web_page/page_*.test.mjs
