#!/usr/bin/env bash
# Installs what is missing, builds into build/ with warnings as errors and runs every test.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh" build -DVORN_WARNINGS_AS_ERRORS=ON
cd "$top/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)"
