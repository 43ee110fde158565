# Where `cmake --install` puts the program on a Linux desktop, and the Debian package CPack makes from
# the same install. Included from the top-level CMakeLists.txt, after src/.
install(TARGETS vorn-build-calculator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
    set(vorn_resources ${PROJECT_SOURCE_DIR}/resources)

    # The desktop entry, the file type, the icons and the AppStream metadata, all under the application
    # id (cmake/AppIdentity.cmake).
    install(FILES ${VORN_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${VORN_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${vorn_resources}/vorn-build-calculator-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${VORN_APP_ID}.xml)
    foreach(size 16 32 48 128 256)
        install(FILES ${vorn_resources}/icons/hicolor/${size}x${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME ${VORN_APP_ID}.png)
    endforeach()
    install(FILES ${vorn_resources}/icons/vorn-build-calculator.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${VORN_APP_ID}.svg)
endif()

set(CPACK_PACKAGE_NAME vorn-build-calculator)
set(CPACK_PACKAGE_VERSION "${VORN_DISPLAY_VERSION}")
set(CPACK_PACKAGE_VENDOR "${VORN_APP_TITLE} project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Build calculator for VORN characters")
set(CPACK_PACKAGE_DESCRIPTION
    "Follows one VORN character's Build, Loose XP, Level and Body from event to event under the 8th-edition VORN International rules.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGE_CONTACT "Wren Calloway <wren@vorncalc.org>")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps names the Qt libraries the program links, with their versions. The platform plugins
# are loaded at run time, so no library names them: without them the window cannot open.
find_program(VORN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VORN_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6gui6, libqt6core6, qt6-qpa-plugins")
endif()
include(CPack)
