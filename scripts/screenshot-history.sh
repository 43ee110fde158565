#!/usr/bin/env bash
# Takes docs/history.png, the History window for the README's readers and the software centres: the
# calculator built into build/ (./scripts/setup.sh default; or the program given as PROGRAM) opens
# docs/example.vornchar on a virtual X server, Ctrl+H opens its History, and ImageMagick's import takes
# that window. With --800x600, takes docs/history-800x600.png instead: History as it opens on the smallest
# screen the calculator is made for, the whole screen. The settings go to a folder of their own, so the
# user's Recent Characters and saved window places stay as they are.
# Usage: screenshot-history.sh [--800x600] [PROGRAM]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
screen="1280x1024" shot="$top/docs/history.png"
if [ "${1:-}" = "--800x600" ]; then
    screen="800x600" shot="$top/docs/history-800x600.png"
    shift
fi
"$top/scripts/install-missing.sh" xvfb xauth xdotool imagemagick fonts-dejavu-core
program="${1:-$top/build/src/shell/vorn-build-calculator}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT

HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 ${screen}x24 -noreset" bash -c '
        set -euo pipefail
        source "$4"
        "$1" "$2" &
        pid=$!
        trap "kill $pid" EXIT
        calculator="$(wait_for "^example.vornchar - VORN Build Calculator$")"
        xdotool windowfocus --sync "$calculator"
        xdotool key ctrl+h
        history="$(wait_for "^History - VORN Build Calculator$")"
        if [ "$5" = 1280x1024 ]; then
            # Wide enough for every column: the events, dates and notes of the steps after the figures.
            xdotool windowmove --sync "$history" 0 0 windowsize --sync "$history" 1180 720
            sleep 1
            import -window "$history" -define png:exclude-chunks=date,time "PNG24:$3"
        else
            sleep 1
            import -window root -define png:exclude-chunks=date,time "PNG24:$3"
        fi
    ' screenshot "$program" "$top/docs/example.vornchar" "$shot" "$top/scripts/x-windows.sh" "$screen"
echo "Written: $shot"
