# Installs the build into a staging folder, never into the machine, and checks that the program, its
# desktop entry and its icons land where a Linux desktop looks for them. Where Xvfb and xdotool are
# there, it then starts the staged program and waits for the calculator window to appear.
#   -DBUILD_DIR=... -DSTAGE=... [-DXVFB_RUN=...] [-DXDOTOOL=...]
file(REMOVE_RECURSE "${STAGE}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(program "${STAGE}/usr/bin/vorn-build-calculator")
set(expected
    "${program}"
    "${STAGE}/usr/share/applications/vorn-build-calculator.desktop"
    "${STAGE}/usr/share/icons/hicolor/16x16/apps/vorn-build-calculator.png"
    "${STAGE}/usr/share/icons/hicolor/32x32/apps/vorn-build-calculator.png")
foreach(path IN LISTS expected)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

if(NOT XVFB_RUN OR NOT XDOTOOL)
    message(STATUS "xvfb-run or xdotool not found: the staged program is not started")
    return()
endif()
# The window must come up on a real X server, whatever platform the tests themselves run on; the
# timeout only keeps a program that never opens its window from holding the test up.
execute_process(
    COMMAND ${XVFB_RUN} -a sh -c [[
        QT_QPA_PLATFORM=xcb "$0" & pid=$!
        timeout 60 "$1" search --sync --name '^VORN Build Calculator$' >/dev/null
        found=$?
        kill "$pid" 2>/dev/null
        wait "$pid"
        exit "$found"
    ]] "${program}" "${XDOTOOL}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the staged program did not open its window (${result})")
endif()
message(STATUS "the staged program opened its window")
