# Builds the Debian package with CPack and checks that it holds the program, its desktop entry and its
# icons, that it carries the version and homepage of the application identity, and that it depends on the
# Qt 6 runtime it needs, the platform plugins included.
#   -DBUILD_DIR=... -DOUT=... -DCPACK=... -DDPKG_DEB=... -DVERSION=... -DHOMEPAGE=...
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
foreach(path
        ./usr/bin/vorn-build-calculator
        ./usr/share/applications/vorn-build-calculator.desktop
        ./usr/share/icons/hicolor/16x16/apps/vorn-build-calculator.png
        ./usr/share/icons/hicolor/32x32/apps/vorn-build-calculator.png)
    string(FIND "${contents}" " ${path}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${path} is not in the package:\n${contents}")
    endif()
endforeach()

execute_process(COMMAND ${DPKG_DEB} -f ${packages} Package Version Homepage Depends OUTPUT_VARIABLE fields)
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
foreach(dependency libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins)
    if(NOT fields MATCHES "Depends:.*${dependency}")
        message(FATAL_ERROR "the package does not depend on ${dependency}")
    endif()
endforeach()
