#!/usr/bin/env bash
# Takes docs/history-800x600.png, History on the smallest screen the calculator is made for: the
# calculator built into build/ (or the program given as $1) opens docs/example.vornchar on a virtual X
# server of 800×600 pixels, Ctrl+H opens its History as it opens there, and ImageMagick's import takes the
# whole screen. The settings go to a folder of their own, so that no place saved earlier moves the window.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-missing.sh" xvfb xauth xdotool imagemagick fonts-dejavu-core
program="${1:-$top/build/src/shell/vorn-build-calculator}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT

HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 800x600x24" bash -c '
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
        wait_for "^History - " >/dev/null
        sleep 1
        import -window root -define png:exclude-chunks=date,time "PNG24:$3"
    ' screenshot "$program" "$top/docs/example.vornchar" "$top/docs/history-800x600.png"
echo "Written: $top/docs/history-800x600.png"
