#!/usr/bin/env bash
# Installs the Debian packages that are missing: those for building and running the calculator,
# and with "test" also those the tests, the fuzzer, the benchmarks and the packaging need.
# Usage: install-deps.sh [run|test]; run is the default.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins
    fonts-liberation fontconfig
    libcli11-dev nlohmann-json3-dev
    libfmt-dev libfast-float-dev
)
if [ "${1:-run}" = test ]; then
    packages+=(
        libgtest-dev clang-format clang-tidy
        libbenchmark-dev time
        dpkg-dev file desktop-file-utils appstream shared-mime-info xdg-utils libglib2.0-bin
        clang libclang-rt-14-dev
        locales
        g++-mingw-w64-x86-64-posix wine64 zip groff-base bsdextrautils
        emscripten node-acorn
        chromium
    )
    # The page's tests run under Node. A machine whose node and npm came from elsewhere keeps
    # them: Debian's npm beside another Node conflicts with it.
    command -v node >/dev/null || packages+=(nodejs)
    command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
