# A file named on the command line that can't be opened: the program says so in a box centred over the
# calculator, on a real X server, where the window system places and moves windows some time after the
# program asks. Without a window manager the calculator opens at the screen's corner and is then moved
# in, so a box placed by where the window system last said the calculator was stands off its centre. X's
# keyboard library trips a sanitizer's strict string check, which is left off as for the staged program.
#   -DPROGRAM=... -DON_X_SERVER=... -DXDOTOOL=...
if(NOT ON_X_SERVER OR NOT XDOTOOL)
    message(STATUS "start box skipped: Xvfb or xdotool not found")
    return()
endif()
execute_process(
    COMMAND ${ON_X_SERVER} sh -c [[
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0" QT_QPA_PLATFORM=xcb "$0" "$2" &
        pid=$!
        # The calculator and its box, unless the program ends first; a minute at the most.
        for _ in $(seq 600); do
            windows=$("$1" search --onlyvisible --name '^VORN Build Calculator$' 2>/dev/null)
            [ "$(echo "$windows" | grep -c .)" -eq 2 ] && break
            kill -0 "$pid" 2>/dev/null || exit 1
            sleep 0.1
        done
        for w in $windows; do
            eval "$("$1" getwindowgeometry --shell "$w")"
            echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
        done
        kill "$pid"
    ]] "${PROGRAM}" "${XDOTOOL}" "/nonexistent/Gone.vornchar"
    OUTPUT_VARIABLE centres
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the program ended before its box opened (${result})")
endif()
# Each window's centre, "x y".
string(REPLACE "\n" ";" lines "${centres}")
list(FILTER lines INCLUDE REGEX "^-?[0-9]+ -?[0-9]+$")
list(LENGTH lines count)
if(NOT count EQUAL 2)
    message(FATAL_ERROR "expected two windows, got: ${centres}")
endif()
list(GET lines 0 first)
list(GET lines 1 second)
separate_arguments(first)
separate_arguments(second)
list(GET first 0 x1)
list(GET first 1 y1)
list(GET second 0 x2)
list(GET second 1 y2)
math(EXPR dx "${x1} - ${x2}")
math(EXPR dy "${y1} - ${y2}")
if(dx GREATER 4 OR dx LESS -4 OR dy GREATER 4 OR dy LESS -4)
    message(FATAL_ERROR "the box's centre is ${dx},${dy} off the calculator's")
endif()
message(STATUS "the box stands centred over the calculator (${dx},${dy})")
