#!/usr/bin/env bash
# Installs what is missing, builds the calculator alone, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
scripts/build.sh build -DBUILD_TESTING=OFF -DORVALEX_BENCH=OFF
exec build/main_window/Orvalex_KEP
