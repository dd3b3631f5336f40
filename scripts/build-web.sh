#!/usr/bin/env bash
# Builds the calculation core as WebAssembly with emscripten and writes the page as one
# self-contained file, OUT_DIR/orvalex-kep.html.
# Usage: build-web.sh OUT_DIR [BUILD_DIR]; the default build directory is build-web/. The page's
# files come from web_page/page/, or from ORVALEX_PAGE_DIR when set.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out_dir="${1:?usage: build-web.sh OUT_DIR [BUILD_DIR]}"
build_dir="${2:-$root/build-web}"
# emcc's optimizer needs Node's acorn, which Debian keeps outside Node's own search path.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

if [ ! -f "$build_dir/build.ninja" ]; then
    emcmake cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DORVALEX_WINDOW=OFF -DORVALEX_COMMAND_LINE=OFF -DBUILD_TESTING=OFF -DORVALEX_BENCH=OFF
fi
cmake --build "$build_dir" --target orvalex_core -j2

mkdir -p "$out_dir"
node "$root/web_page/inline_page.mjs" \
    --page "${ORVALEX_PAGE_DIR:-$root/web_page/page}" \
    --pictures "$root/main_window/pictures" \
    --module "$build_dir/web_page/orvalex-core.js" \
    --out "$out_dir/orvalex-kep.html"
