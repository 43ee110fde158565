#!/usr/bin/env bash
# Takes docs/history.png, the History window for the README's readers and the software centres: the
# calculator built into build/ (./scripts/setup.sh default; or the program given as $1) opens
# docs/example.vornchar on a virtual X server, Ctrl+H opens its History, and ImageMagick's import takes
# that window. The settings go to a folder of their own, so the user's Recent Characters stay as they are.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-missing.sh" xvfb xauth xdotool imagemagick fonts-dejavu-core
program="${1:-$top/build/src/shell/vorn-build-calculator}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT

HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        set -euo pipefail
        "$1" "$2" &
        pid=$!
        trap "kill $pid" EXIT
        # wait_for TITLE: the id of the window with that title, once it is shown.
        wait_for() {
            for _ in $(seq 300); do
                xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 && return 0
                sleep 0.1
            done
            echo "no window \"$1\" after 30 seconds" >&2
            return 1
        }
        calculator="$(wait_for "^example.vornchar - VORN Build Calculator$")"
        xdotool windowfocus --sync "$calculator"
        xdotool key ctrl+h
        history="$(wait_for "^History - VORN Build Calculator$")"
        # Wide enough for every column: the events, dates and notes of the steps after the figures.
        xdotool windowmove --sync "$history" 0 0 windowsize --sync "$history" 1180 720
        sleep 1
        import -window "$history" -define png:exclude-chunks=date,time "PNG24:$3"
    ' screenshot "$program" "$top/docs/example.vornchar" "$top/docs/history.png"
echo "Written: $top/docs/history.png"
