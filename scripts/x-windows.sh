# Sourced by the screenshot scripts inside their virtual X server.
# wait_for TITLE: the id of the window with that title, once it is shown.
wait_for() {
    for _ in $(seq 300); do
        xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 && return 0
        sleep 0.1
    done
    echo "no window \"$1\" after 30 seconds" >&2
    return 1
}
