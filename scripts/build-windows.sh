#!/usr/bin/env bash
# Cross-builds the command-line program for Windows with mingw-w64 and packs it for download.
# Usage: build-windows.sh OUT_DIR. Writes OUT_DIR/orvalex-kep.exe, a program file that needs no
# DLL beyond Windows' own, and OUT_DIR/orvalex-kep-windows.zip: the program, the web page
# orvalex-kep.html, the licence and the manual page as text (orvalex-kep.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 1 ] || { echo "usage: $0 OUT_DIR" >&2; exit 2; }
mkdir -p "$1"
out_dir="$(cd "$1" && pwd)"
build_dir="$out_dir/build"

# The header-only libraries, and no other header of the build machine: their folders and
# CMake package files under a prefix of their own, which the toolchain searches.
prefix="$out_dir/cross-prefix"
rm -rf "$prefix"
mkdir -p "$prefix/include" "$prefix/share/cmake"
for folder in CLI nlohmann fmt fast_float; do
    ln -s "/usr/include/$folder" "$prefix/include/$folder"
done
for package in CLI11 nlohmann_json; do
    ln -s "/usr/share/cmake/$package" "$prefix/share/cmake/$package"
done

# The native build's optimisation (-O2) without debugging information: the program file would
# not keep it (-s), and writing it took two fifths of the compile time.
if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
        -DORVALEX_CROSS_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
        -DORVALEX_THIRD_PARTY_INCLUDE="$prefix/include" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
        -DCMAKE_EXE_LINKER_FLAGS_RELWITHDEBINFO=-s \
        -DORVALEX_WINDOW=OFF -DBUILD_TESTING=OFF -DORVALEX_BENCH=OFF
fi
cmake --build "$build_dir" --target orvalex-kep -j2
cp "$build_dir/command_line/orvalex-kep.exe" "$out_dir/orvalex-kep.exe"

# The manual page is made by a tool the cross build cannot run: from the native build that
# ORVALEX_NATIVE_BUILD names (scripts/test.sh's), else from a small native build of the tool alone.
native_build="${ORVALEX_NATIVE_BUILD:-$out_dir/native}"
if [ ! -f "$native_build/build.ninja" ]; then
    cmake -S . -B "$native_build" -G Ninja -DORVALEX_WINDOW=OFF -DBUILD_TESTING=OFF \
        -DORVALEX_BENCH=OFF
fi
cmake --build "$native_build" --target orvalex-kep-man
manual="$native_build/command_line/man/orvalex-kep.1"

# The zip's contents, gathered in a folder of their own.
pack="$out_dir/zip"
rm -rf "$pack" "$out_dir/orvalex-kep-windows.zip"
mkdir -p "$pack"
cp "$out_dir/orvalex-kep.exe" LICENSE "$pack/"
# The manual page as plain UTF-8 text with CRLF line ends and a byte-order mark, for Notepad.
{
    printf '\xEF\xBB\xBF'
    LC_ALL=C.UTF-8 groff -t -man -Tutf8 -P-c "$manual" |
        LC_ALL=C.UTF-8 col -bx | cat -s | sed 's/$/\r/'
} >"$pack/orvalex-kep.txt"
if [ -x scripts/build-web.sh ]; then
    scripts/build-web.sh "$out_dir/web"
    cp "$out_dir/web/orvalex-kep.html" "$pack/"
else
    echo "WARNING: scripts/build-web.sh is missing; the zip has no orvalex-kep.html" >&2
fi
(cd "$pack" && zip -q -X "$out_dir/orvalex-kep-windows.zip" ./*)
echo "$out_dir/orvalex-kep.exe"
echo "$out_dir/orvalex-kep-windows.zip"
