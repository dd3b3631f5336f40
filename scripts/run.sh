#!/usr/bin/env bash
# Installs what is missing, builds, and starts the calculator.
set -euo pipefail
here="$(dirname "$0")"
"$here/install-deps.sh"
"$here/build.sh"
program="$here/../build/main_window/Orvalex_KEP"
if [ ! -x "$program" ]; then
    echo "The calculator window is not built yet; the calculation core and its tests are."
    exit 0
fi
exec "$program"
