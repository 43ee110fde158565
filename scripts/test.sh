#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test: first in build/, then
# links the program alone as a Release build in build-release/, then runs the tests once more in
# build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets, the Windows
# programs and the web page. Each build is a preset of CMakePresets.json.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen
export VORN_TEST_TOOLS=1

"$top/scripts/setup.sh" default

# Qt sets the C library's locale from the environment; one comma-decimal locale lets the conversion
# tests show that the program's number reading does not follow it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi

ctest --preset default -j "$jobs"

# The program once more as packagers build it (Release, -O3): the build above does not show a template
# that one file defines and another uses, which links at -O2 and not at -O3. A link is enough.
cmake --preset release
cmake --build --preset release --parallel "$jobs"

# The sanitizers' options are the asan test preset's.
"$top/scripts/setup.sh" asan
ctest --preset asan -j "$jobs"

# The fuzz targets need clang; a short fixed-seed run of each.
cmake --preset fuzz
cmake --build --preset fuzz --parallel "$jobs"
ctest --preset fuzz

# The rules and the session once more as Windows programs, cross-compiled with MinGW-w64 and run under
# Wine: long has 32 bits there and the C library is Windows' own.
cmake --preset windows
cmake --build --preset windows --parallel "$jobs"
ctest --preset windows -j "$jobs"

# The web page: the session as WebAssembly with its suites under node; the page's own modules linted,
# type-checked and unit-tested under node; then the page itself in Chromium, Firefox and WebKit, driven
# through Selenium, with axe-core checking it for accessibility. The page's tools are the ones
# src/web/package-lock.json pins, installed afresh.
command -v npm >/dev/null || "$top/scripts/install-missing.sh" npm
(cd "$top/src/web" && npm ci --no-audit --no-fund)
"$top/scripts/build-web.sh"
web="$top/${VORN_WEB_BUILD:-build-web}"
"$top/scripts/install-missing.sh" chromium chromium-driver python3-selenium firefox-esr webkit2gtk-driver xvfb
(cd "$web" && ctest --output-on-failure --timeout 900 -j "$jobs")
