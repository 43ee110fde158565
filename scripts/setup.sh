#!/usr/bin/env bash
# Installs whatever of the build and test tools is missing (Debian 12), then configures and builds
# with the preset named as $1 (CMakePresets.json: default into build/, asan into build-asan/). Further
# arguments go to CMake's configure step. The tools only the tests use come along when VORN_TEST_TOOLS=1
# (scripts/test.sh sets it).
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    clang clang-format libclang-rt-14-dev
    xvfb xauth xdotool fonts-dejavu-core
    desktop-file-utils dpkg-dev file binutils-mingw-w64-x86-64 locales
)
test_packages=(
    lintian appstream librsvg2-bin poppler-utils pyflakes3
    weston qt6-wayland
    g++-mingw-w64-x86-64-posix wine64
    gnumeric libreoffice-calc-nogui
    python3-pyatspi at-spi2-core dbus-daemon
)
if [ "${VORN_TEST_TOOLS:-0}" = 1 ]; then
    packages+=("${test_packages[@]}")
fi

"$(dirname "$0")/install-missing.sh" "${packages[@]}"

cd "$(dirname "$0")/.."
preset="$1"
shift
cmake --preset "$preset" "$@"
cmake --build --preset "$preset" --parallel "$(nproc)"
