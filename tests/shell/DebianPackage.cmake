# Builds the Debian package with CPack and checks that it holds the program, its desktop entry, icons,
# AppStream metadata, manual page, changelog and copyright, that it carries the version and homepage of
# the application identity, and that it depends on the Qt 6 runtime it needs, the platform plugins
# included. Where lintian and appstreamcli are given, any error or warning of theirs fails the test.
#   -DBUILD_DIR=... -DOUT=... -DCPACK=... -DDPKG_DEB=... -DVERSION=... -DHOMEPAGE=... -DAPP_ID=...
#   [-DLINTIAN=...] [-DAPPSTREAMCLI=...]
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUT}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed: ${result}")
endif()
file(GLOB packages "${OUT}/*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package in ${OUT}, found: ${packages}")
endif()

execute_process(COMMAND ${DPKG_DEB} -c ${packages} OUTPUT_VARIABLE contents RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -c failed: ${result}")
endif()
set(expected
    ./usr/bin/vorn-build-calculator
    ./usr/share/applications/${APP_ID}.desktop
    ./usr/share/metainfo/${APP_ID}.metainfo.xml
    ./usr/share/mime/packages/${APP_ID}.xml
    ./usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
    ./usr/share/man/man1/vorn-build-calculator.1.gz
    ./usr/share/doc/vorn-build-calculator/changelog.Debian.gz
    ./usr/share/doc/vorn-build-calculator/copyright)
foreach(size 16 32 48 128 256)
    list(APPEND expected ./usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(path IN LISTS expected)
    string(FIND "${contents}" " ${path}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${path} is not in the package:\n${contents}")
    endif()
endforeach()

execute_process(COMMAND ${DPKG_DEB} -f ${packages} Package Version Homepage Depends Recommends
                OUTPUT_VARIABLE fields)
message(STATUS "${fields}")
if(NOT fields MATCHES "Package: vorn-build-calculator")
    message(FATAL_ERROR "wrong package name")
endif()
foreach(field "Version: ${VERSION}\n" "Homepage: ${HOMEPAGE}\n")
    string(FIND "${fields}" "${field}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package lacks ${field}")
    endif()
endforeach()
foreach(dependency libqt6printsupport6 libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins)
    if(NOT fields MATCHES "Depends:.*${dependency}")
        message(FATAL_ERROR "the package does not depend on ${dependency}")
    endif()
endforeach()
if(NOT fields MATCHES "Recommends:.*qt6-wayland")
    message(FATAL_ERROR "the package does not recommend qt6-wayland")
endif()

if(LINTIAN)
    # Info and pedantic tags are shown; errors and warnings fail. CI runs as root.
    execute_process(COMMAND ${LINTIAN} --allow-root --pedantic --display-info --fail-on error,warning
                            ${packages}
                    OUTPUT_VARIABLE report ERROR_VARIABLE report RESULT_VARIABLE result)
    message(STATUS "lintian:\n${report}")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "lintian failed (${result})")
    endif()
else()
    message(STATUS "lintian not found, or not a hardened optimised build: the package is not checked by it")
endif()

if(APPSTREAMCLI)
    # The metadata as installed, with the desktop entry and icons it names; no network for the screenshot.
    execute_process(COMMAND ${DPKG_DEB} -x ${packages} ${OUT}/root RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "dpkg-deb -x failed: ${result}")
    endif()
    execute_process(COMMAND ${APPSTREAMCLI} validate-tree --pedantic --no-net ${OUT}/root
                    OUTPUT_VARIABLE report ERROR_VARIABLE report RESULT_VARIABLE result)
    message(STATUS "appstreamcli:\n${report}")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "appstreamcli validate-tree failed (${result})")
    endif()
else()
    message(STATUS "appstreamcli not found: the AppStream metadata is not checked")
endif()
