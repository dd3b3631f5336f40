#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: once as built for use, once
# under AddressSanitizer and UndefinedBehaviorSanitizer. Prints at its end how long each phase
# took, in wall and CPU time (scripts/phase-times.sh), whether it passed or not.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/phase-times.sh
export QT_QPA_PLATFORM=offscreen

# The page's core under Node: the same random presses and analyses through the native core and
# the WebAssembly one.
page_core_tests() {
    ORVALEX_REQUEST_DRIVER="$PWD/build/tests/web_page/web_request_driver" \
        ORVALEX_CORE_MODULE="$PWD/build-web/web_page/orvalex-core.js" \
        node --test tests/web_page/inline_page.test.mjs tests/web_page/core_worker.test.mjs \
        tests/web_page/protocol_keys.test.mjs tests/web_page/differential.test.mjs
}

# The Debian package, built from build/, and the desktop entry and metainfo as it installs them.
package_checks() {
    cpack -G DEB --config build/CPackConfig.cmake -B build
    local package_root=build/package-root
    rm -rf "$package_root"
    mkdir "$package_root"
    installed_package_checks "$(cd "$package_root" && pwd)"
    rm -rf "$package_root"
}

installed_package_checks() {
    local package_root="$1"
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
    echo '{}' >"$package_root/rail.okep"
    test "$(xdg-mime query filetype "$package_root/rail.okep")" = application/x-orvalex-kep-design
    test "$(xdg-mime query default application/x-orvalex-kep-design)" = com.orvalex.kep.desktop
}

phase "installs" scripts/install-deps.sh test
phase "format" scripts/check-format.sh
phase "the page's checks (tsc, ESLint)" scripts/check-page.sh

# The tests' builds write no more debugging information than their reports use: none natively
# (writing it took a third of the compile time), line tables alone for the sanitizers' stacks.
phase "native build" scripts/build.sh build -DBUILD_TESTING=ON -DORVALEX_BENCH=AUTO \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG"
# clang-tidy over the project's C++ with the native build's compile commands (docs/checks.md),
# beside the phases after it and below them in priority: it takes what they leave of the cores
# (the WebAssembly link, the differential test, wine and the fuzzers use one), then the rest.
phase_beside "clang-tidy (beside the phases after it)" nice -n 19 scripts/tidy.sh build
phase "native tests" ctest --test-dir build --output-on-failure -j2

# The page: the core built as WebAssembly and put in one file.
phase "WebAssembly build" scripts/build-web.sh build-web/page build-web
phase "differential test (Node)" page_core_tests

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer, built with clang, whose
# instrumented build takes well under half of GCC's time; the same tree builds the fuzzers, with
# libFuzzer's coverage hooks in the libraries they call. Any sanitizer report fails the test.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
phase "sanitizer build, with the fuzzers" scripts/build.sh build-sanitize -DCMAKE_CXX_COMPILER=clang++ \
    -DORVALEX_SANITIZE=ON -DORVALEX_FUZZ=ON -DORVALEX_BENCH=OFF \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG"
phase "sanitizer tests" ctest --test-dir build-sanitize --output-on-failure -j2

# The Windows program, cross-built and run under wine, answers as the native one does.
phase "Windows build" env ORVALEX_NATIVE_BUILD=build scripts/build-windows.sh build-windows
phase "Windows comparison (wine)" tests/command_line/windows_test.sh build/command_line/orvalex-kep \
    build-windows/orvalex-kep.exe

# A minute of coverage-guided fuzzing of the calculation core; any finding fails.
phase "fuzzers' minute" scripts/fuzz.sh 60 build-sanitize

phase "package" package_checks

# The page in headless Chromium, opened from disk with the network off.
phase "browser tests" scripts/test-page.sh build-web/page
phase_join
