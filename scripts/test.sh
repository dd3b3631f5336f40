#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
here="$(dirname "$0")"
"$here/install-deps.sh"
"$here/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$here/../build" --output-on-failure -j2
