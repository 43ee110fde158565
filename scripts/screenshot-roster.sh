#!/usr/bin/env bash
# Takes docs/roster.png, the Roster window with the Record Event dialog's preview over it, for the README:
# the calculator built into build/ (./scripts/setup.sh default; or the program given as $1) lists a folder
# of made-up characters (build/bench/make_roster) on a virtual X server, and the event is filled in by
# keys alone, as a user without a mouse would. The settings go to a folder of their own, so the user's
# Recent Characters and Roster folder stay as they are.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-missing.sh" xvfb xauth xdotool imagemagick fonts-dejavu-core
program="${1:-$top/build/src/shell/vorn-build-calculator}"
maker="$(dirname "$(dirname "$(dirname "$program")")")/bench/make_roster"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
folder="$home/Autumn Gathering"
mkdir -p "$folder" "$home/.config/vorncalc"
"$maker" "$folder" 12 30
# A file mailed in damaged, listed with its reason rather than hidden.
printf '{"format": "VORN character", "version": 3, "steps": [' >"$folder/Mira.vornchar"
printf '[frmRoster]\nfolder=%s\n' "$folder" >"$home/.config/vorncalc/VORN Build Calculator.conf"
# Two players checked out at the event already, from the command line: the preview says so.
"$program" --add-event="Normal Event" --coin=max --blankets=1 --event="Autumn Gathering" \
    "$folder/Aldric.vornchar" "$folder/Dagny.vornchar" >/dev/null

HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1040x760x24 -noreset" bash -c '
        set -euo pipefail
        source "$3"
        "$1" &
        pid=$!
        trap "kill $pid" EXIT
        calculator="$(wait_for "^VORN Build Calculator$")"
        xdotool windowfocus --sync "$calculator"
        xdotool key alt+f r
        roster="$(wait_for "^Roster - VORN Build Calculator$")"
        # As an 800 by 600 screen has it, less a panel.
        xdotool windowmove --sync "$roster" 0 0 windowsize --sync "$roster" 790 560
        sleep 0.5
        # Every character but the damaged one: the filter, then the table, then the first eleven rows.
        xdotool windowfocus --sync "$roster" key alt+l Tab Home shift+Down shift+Down shift+Down shift+Down \
            shift+Down shift+Down shift+Down shift+Down shift+Down shift+Down shift+Down alt+r
        dialog="$(wait_for "^Record Event$")"
        # Below and to the right of the roster, which shows above and beside it.
        xdotool windowmove --sync "$dialog" 310 250
        xdotool windowfocus --sync "$dialog"
        xdotool key alt+t Down alt+b ctrl+a
        xdotool type --delay 40 "1"
        xdotool key alt+e
        xdotool type --delay 40 "Autumn Gathering"
        xdotool key alt+n
        xdotool type --delay 40 "Rain on the second day"
        sleep 1
        import -window root -define png:exclude-chunks=date,time "PNG24:$2"
    ' screenshot "$program" "$top/docs/roster.png" "$top/scripts/x-windows.sh"
echo "Written: $top/docs/roster.png"
