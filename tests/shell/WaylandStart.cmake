# Installs the build into a staging folder of its own, starts the staged program under a headless Weston
# and waits until the compositor shows the calculator window on its output.
#   -DBUILD_DIR=... -DSTAGE=... -DWESTON=... -DQT_WAYLAND_PLUGIN=...
# Without Weston or Qt's Wayland platform plugin it says "wayland start skipped:", which CTest reports
# as a skipped test.
if(NOT WESTON)
    message(STATUS "wayland start skipped: weston not found")
    return()
endif()
if(NOT QT_WAYLAND_PLUGIN OR NOT EXISTS "${QT_WAYLAND_PLUGIN}")
    message(STATUS "wayland start skipped: Qt's Wayland platform plugin (qt6-wayland) not found")
    return()
endif()

file(REMOVE_RECURSE "${STAGE}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    OUTPUT_QUIET
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(program "${STAGE}/usr/bin/vorn-build-calculator")
if(NOT EXISTS "${program}")
    message(FATAL_ERROR "not installed: ${program}")
endif()

# Weston gets a private runtime folder and socket. The program logs its side of the Wayland protocol; the
# window counts as seen once the compositor tells the surface of the toplevel titled "VORN Build
# Calculator" that it has entered an output, which it does when it maps the window. The wait ends early
# when the program dies and gives up after a minute.
execute_process(
    COMMAND sh -c [[
        weston="$0"
        program="$1"
        runtime="$(mktemp -d "${TMPDIR:-/tmp}/vorn-wayland.XXXXXX")" || exit 3
        log="$runtime/client.log"
        weston_pid=""
        pid=""
        finish() {
            status=$1
            [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid"
            [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid"
            if [ "$status" -ne 0 ]; then
                echo "--- weston ---" >&2
                tail -n 20 "$runtime/weston.log" >&2
                echo "--- program, without its protocol log ---" >&2
                grep -v '^\[' "$log" 2>/dev/null | tail -n 20 >&2
            fi
            rm -rf "$runtime"
            exit "$status"
        }

        XDG_RUNTIME_DIR="$runtime" "$weston" --backend=headless-backend.so --socket=vorn-test --idle-time=0 \
            --no-config >"$runtime/weston.log" 2>&1 &
        weston_pid=$!
        tries=0
        until [ -S "$runtime/vorn-test" ]; do
            if ! kill -0 "$weston_pid" 2>/dev/null; then
                weston_pid=""
                echo "weston ended before it opened its socket" >&2
                finish 4
            fi
            tries=$((tries + 1))
            if [ "$tries" -ge 100 ]; then
                echo "weston opened no socket in ten seconds" >&2
                finish 4
            fi
            sleep 0.1
        done

        env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=vorn-test QT_QPA_PLATFORM=wayland \
            WAYLAND_DEBUG=client "$program" 2>"$log" &
        pid=$!
        tries=0
        while kill -0 "$pid" 2>/dev/null; do
            toplevel=$(sed -n 's/.* -> \(xdg_toplevel@[0-9]*\)\.set_title("VORN Build Calculator")$/\1/p' "$log" | tail -n 1)
            if [ -n "$toplevel" ]; then
                xdg_surface=$(sed -n "s/.* -> \(xdg_surface@[0-9]*\)\.get_toplevel(new id $toplevel)\$/\1/p" "$log" | tail -n 1)
                surface=$(sed -n "s/.*\.get_xdg_surface(new id $xdg_surface, \(wl_surface@[0-9]*\))\$/\1/p" "$log" | tail -n 1)
                if [ -n "$surface" ] && grep -q "^\[[0-9. ]*\] $surface\.enter(wl_output@" "$log"; then
                    finish 0
                fi
            fi
            tries=$((tries + 1))
            if [ "$tries" -ge 600 ]; then
                echo "no calculator window on the Wayland output after a minute" >&2
                finish 2
            fi
            sleep 0.1
        done
        wait "$pid"
        echo "the program ended before its window was shown (exit $?)" >&2
        pid=""
        finish 1
    ]] "${WESTON}" "${program}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the staged program did not show its window under Wayland (${result})")
endif()
message(STATUS "the staged program showed its window under Wayland")
