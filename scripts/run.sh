#!/usr/bin/env bash
# Installs what is missing, builds into build/ and opens the calculator.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh" default
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: the calculator is built (build/src/shell/vorn-build-calculator) but needs a desktop to open." >&2
    exit 1
fi
exec "$top/build/src/shell/vorn-build-calculator"
