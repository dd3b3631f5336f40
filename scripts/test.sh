#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: once as built for use, once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
scripts/check-format.sh
scripts/check-page.sh
export QT_QPA_PLATFORM=offscreen

scripts/build.sh build -DBUILD_TESTING=ON -DORVALEX_BENCH=AUTO
ctest --test-dir build --output-on-failure -j2
# clang-tidy over the project's C++ with the native build's compile commands (docs/checks.md).
scripts/tidy.sh build

# The page: the core built as WebAssembly and put in one file, then the same random presses and
# analyses through the native core and the WebAssembly one.
scripts/build-web.sh build-web/page build-web
ORVALEX_REQUEST_DRIVER="$PWD/build/tests/web_page/web_request_driver" \
    ORVALEX_CORE_MODULE="$PWD/build-web/web_page/orvalex-core.js" \
    node --test tests/web_page/inline_page.test.mjs tests/web_page/core_worker.test.mjs \
    tests/web_page/protocol_keys.test.mjs tests/web_page/differential.test.mjs

# Any sanitizer report ends the test program with a failure.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
scripts/build.sh build-sanitize -DORVALEX_SANITIZE=ON -DORVALEX_BENCH=OFF
ctest --test-dir build-sanitize --output-on-failure -j2

# The Windows program, cross-built and run under wine, answers as the native one does.
ORVALEX_NATIVE_BUILD=build scripts/build-windows.sh build-windows
tests/command_line/windows_test.sh build/command_line/orvalex-kep build-windows/orvalex-kep.exe

# A minute of coverage-guided fuzzing of the calculation core; any finding fails.
scripts/fuzz.sh 60

# The Debian package, built from build/, and the desktop entry and metainfo as it installs them.
cpack -G DEB --config build/CPackConfig.cmake -B build
package_root="$(mktemp -d)"
trap 'rm -rf "$package_root"' EXIT
dpkg-deb -x build/orvalex-kep_*.deb "$package_root"
desktop-file-validate "$package_root"/usr/share/applications/*.desktop
# The command-line program and its manual page are in the package beside the window.
"$package_root"/usr/bin/orvalex-kep --version
test -f "$package_root"/usr/share/man/man1/orvalex-kep.1.gz
appstreamcli validate --no-net "$package_root"/usr/share/metainfo/*.metainfo.xml
# The design file's type as a desktop learns it from the package: *.okep is ours, and the
# desktop entry opens it. GNOME's way (gio) reads the desktop's MIME database.
export XDG_DATA_HOME="$package_root/xdg" XDG_CURRENT_DESKTOP=GNOME
mkdir -p "$XDG_DATA_HOME/mime/packages" "$XDG_DATA_HOME/applications"
cp "$package_root"/usr/share/mime/packages/*.xml "$XDG_DATA_HOME/mime/packages/"
cp "$package_root"/usr/share/applications/*.desktop "$XDG_DATA_HOME/applications/"
update-mime-database "$XDG_DATA_HOME/mime"
update-desktop-database "$XDG_DATA_HOME/applications"
echo '{}' > "$package_root/rail.okep"
test "$(xdg-mime query filetype "$package_root/rail.okep")" = application/x-orvalex-kep-design
test "$(xdg-mime query default application/x-orvalex-kep-design)" = com.orvalex.kep.desktop
unset XDG_DATA_HOME XDG_CURRENT_DESKTOP

# The page in headless Chromium, opened from disk with the network off.
scripts/test-page.sh build-web/page
