#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test: first in build/, then
# once more in build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen
export VORN_TEST_TOOLS=1

"$top/scripts/setup.sh" build -DVORN_WARNINGS_AS_ERRORS=ON

# Qt sets the C library's locale from the environment; one comma-decimal locale lets the conversion
# tests show that the program's number reading does not follow it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi

(cd "$top/build" && ctest --output-on-failure --timeout 600 -j "$jobs")

"$top/scripts/setup.sh" build-asan -DVORN_WARNINGS_AS_ERRORS=ON -DVORN_SANITIZE=ON -DVORN_BUILD_BENCHMARKS=OFF
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$top/build-asan" && ctest --output-on-failure --timeout 900 -j "$jobs")

# The fuzz targets need clang; a short fixed-seed run of each.
cmake -S "$top/fuzz" -B "$top/build-fuzz" -DCMAKE_CXX_COMPILER=clang++
cmake --build "$top/build-fuzz" --parallel "$jobs"
(cd "$top/build-fuzz" && ctest --output-on-failure)

# The rules and the session once more as Windows programs, cross-compiled with MinGW-w64 and run under
# Wine: long has 32 bits there and the C library is Windows' own.
cmake -S "$top/tests/windows" -B "$top/build-windows" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake"
cmake --build "$top/build-windows" --parallel "$jobs"
(cd "$top/build-windows" && ctest --output-on-failure --timeout 600 -j "$jobs")

# The web page: the session as WebAssembly with its suites under node; the page's own modules linted,
# type-checked and unit-tested under node; then the page itself in headless Chromium, driven by Selenium,
# with axe-core checking it for accessibility. The page's tools are the ones src/web/package-lock.json
# pins, installed afresh.
command -v npm >/dev/null || "$top/scripts/install-missing.sh" npm
(cd "$top/src/web" && npm ci --no-audit --no-fund)
"$top/scripts/build-web.sh"
web="$top/${VORN_WEB_BUILD:-build-web}"
"$top/scripts/install-missing.sh" chromium chromium-driver python3-selenium
(cd "$web" && ctest --output-on-failure --timeout 900 -j "$jobs")
