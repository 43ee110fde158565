# Where `cmake --install` puts the program on a Linux desktop, and the Debian package CPack makes from
# the same install. Included from the top-level CMakeLists.txt, after src/.
install(TARGETS vorn-build-calculator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the compilers' version notes, as Debian's packages do.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_OBJCOPY)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vorn-build-calculator\"
                RESULT_VARIABLE result)
            if(NOT result EQUAL 0)
                message(FATAL_ERROR \"objcopy --remove-section=.comment failed: \${result}\")
            endif()
        endif()")
endif()

# The hardening Debian builds its own packages with, as dpkg-buildflags gives it with every hardening
# feature on: checked C library calls, a stack protector, format checks, and relocations made read-only
# and bound at start; the program is position-independent. The program's own libraries and the program
# get it in the optimised builds the package is made from. The optimisation and debugging flags are the
# build type's, and source paths stay as they are, so only the hardening is taken. A sanitizer build
# goes without: the sanitizers bring checks of their own.
option(VORN_HARDENING "Build the program with Debian's hardening flags (Release, RelWithDebInfo)" ON)
function(vorn_build_flags name out)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-all"
                ${VORN_DPKG_BUILDFLAGS} --get ${name}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "dpkg-buildflags --get ${name} failed: ${result}")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O[0-9s]?)$")
    set(${out} ${flags} PARENT_SCOPE)
endfunction()
function(vorn_harden)
    include(CheckPIESupported)
    check_pie_supported(LANGUAGES CXX)
    vorn_build_flags(CPPFLAGS preprocessor)
    vorn_build_flags(CXXFLAGS compiler)
    vorn_build_flags(LDFLAGS linker)
    string(REPLACE ";" " " shown "${preprocessor};${compiler};${linker}")
    message(STATUS "Hardening from dpkg-buildflags: ${shown}")
    set(optimised "$<CONFIG:Release,RelWithDebInfo>")
    vorn_src_targets(targets)
    foreach(target IN LISTS targets)
        target_compile_options(${target} PRIVATE "$<${optimised}:${preprocessor};${compiler}>")
        set_property(TARGET ${target} PROPERTY POSITION_INDEPENDENT_CODE ON)
    endforeach()
    target_link_options(vorn-build-calculator PRIVATE "$<${optimised}:${linker}>")
    # The package test runs lintian on the package of a hardened optimised build only.
    set_property(TARGET vorn-build-calculator PROPERTY VORN_HARDENED ON)
endfunction()
find_program(VORN_DPKG_BUILDFLAGS dpkg-buildflags)
if(VORN_HARDENING AND CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT VORN_SANITIZE)
    if(VORN_DPKG_BUILDFLAGS)
        vorn_harden()
    else()
        message(STATUS "dpkg-buildflags not found (Debian's dpkg-dev): the program is built without hardening")
    endif()
endif()

set(CPACK_PACKAGE_NAME vorn-build-calculator)
set(CPACK_PACKAGE_VERSION "${VORN_DISPLAY_VERSION}")
# The package's revision counts the releases in NEWS.md, so that each has a version of its own.
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VORN_RELEASES})
set(CPACK_PACKAGE_CONTACT "Wren Calloway <wren@vorncalc.org>")

if(UNIX AND NOT APPLE)
    set(vorn_resources ${PROJECT_SOURCE_DIR}/resources)
    set(vorn_generated ${PROJECT_BINARY_DIR}/resources)

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

    # The manual page and the changelog are compressed as Debian wants them, with gzip -9n: the best
    # compression, and no file name or time in the header, so that the same sources make the same package.
    function(vorn_gzip file)
        execute_process(COMMAND gzip -9n --stdout ${file} OUTPUT_FILE ${file}.gz RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "gzip ${file} failed: ${result}")
        endif()
    endfunction()

    # The manual page's list of keys comes from the calculator's table of commands, written in as the
    # program is built (src/fragments).
    set(vorn_manual ${vorn_generated}/vorn-build-calculator.1)
    configure_file(${vorn_resources}/vorn-build-calculator.1.in ${vorn_manual}.in @ONLY)
    add_custom_command(OUTPUT ${vorn_manual}.gz
        COMMAND vorn-fragments manual ${vorn_manual}.in ${vorn_manual}
        COMMAND gzip -9n --force ${vorn_manual}
        DEPENDS vorn-fragments ${vorn_manual}.in
        COMMENT "Writing the manual page's keys (vorn-fragments)" VERBATIM)
    add_custom_target(vorn_manual ALL DEPENDS ${vorn_manual}.gz)
    install(FILES ${vorn_manual}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    # The changelog has an entry for each release in NEWS.md (cmake/News.cmake). The package's version
    # carries a revision, so it is Debian's changelog, changelog.Debian. The date as a changelog writes
    # it, "Tue, 08 Dec 2026 00:00:00 +0000", with the weekday by Sakamoto's method.
    function(vorn_changelog_date iso out)
        if(NOT iso MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
            message(FATAL_ERROR "the release date is not YYYY-MM-DD: ${iso}")
        endif()
        set(year ${CMAKE_MATCH_1})
        set(day ${CMAKE_MATCH_3})
        string(REGEX REPLACE "^0" "" month "${CMAKE_MATCH_2}")
        string(REGEX REPLACE "^0" "" day_number "${day}")
        math(EXPR index "${month} - 1")
        set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
        list(GET month_names ${index} month_name)
        list(GET month_offsets ${index} offset)
        set(y ${year})
        if(month LESS 3)
            math(EXPR y "${year} - 1")
        endif()
        math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day_number}) % 7")
        set(weekday_names Sun Mon Tue Wed Thu Fri Sat)
        list(GET weekday_names ${weekday} weekday_name)
        set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
    endfunction()
    vorn_debian_changelog(${vorn_resources}/changelog.in vorn_changelog_date ${vorn_generated}/changelog.Debian)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${vorn_resources}/changelog.in)
    vorn_gzip(${vorn_generated}/changelog.Debian)

    # The machine-readable copyright file carries the notice and the terms of LICENSE, the terms indented
    # as a paragraph of the file, with "." for an empty line.
    function(vorn_read_licence copyright_out terms_out)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
        file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
        if(NOT licence MATCHES "Copyright \\(c\\) ([^\n]+)\n+(Permission is hereby granted.*)$")
            message(FATAL_ERROR "LICENSE holds no copyright line followed by the MIT terms")
        endif()
        set(${copyright_out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
        string(STRIP "${CMAKE_MATCH_2}" terms)
        string(REPLACE "\n\n" "\n.\n" terms "${terms}")
        string(REPLACE "\n" "\n " terms "${terms}")
        set(${terms_out} " ${terms}" PARENT_SCOPE)
    endfunction()
    vorn_read_licence(VORN_COPYRIGHT VORN_LICENSE_TEXT)
    configure_file(${vorn_resources}/copyright.in ${vorn_generated}/copyright @ONLY)

    install(FILES ${vorn_generated}/copyright ${vorn_generated}/changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
    # lintian expects a first release's changelog entry to close the bug that asked for the package.
    if(VORN_RELEASES EQUAL 1)
        install(FILES ${vorn_resources}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
                RENAME vorn-build-calculator)
    endif()
endif()

set(CPACK_PACKAGE_VENDOR "${VORN_APP_TITLE} project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The lines of the long description as the package shows them, none longer than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION [[
Follows one VORN character's Build, Loose XP, Level and Body from event to
event under the 8th-edition VORN International rules. Enter the character's
starting Build and loose experience, pick a class, and record each event the
character attends; the calculator shows the results and what the next event
would be worth.

Characters can be kept in files of their own, with the history of what was
recorded, which the History window lists and charts; every change can be
undone and redone. Plan Ahead tells how many events of a chosen kind reach a
goal Build, Level or Total XP.]])
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The package holds the program without its symbols and debugging data.
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps names the Qt libraries the program links, with their versions. The platform plugins
# are loaded at run time, so no library names them: without them the window cannot open. On a Wayland
# desktop the program runs as a Wayland client when Qt's Wayland plugin is there, else through XWayland.
find_program(VORN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VORN_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6printsupport6, libqt6widgets6, libqt6gui6, libqt6core6, qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

# Windows: the program in bin/ with the Qt libraries, the platform and style plugins and the compiler's
# run-time libraries beside it, as Qt's deploy script (windeployqt underneath, Qt 6.5 or later) gathers
# them, in a ZIP that runs wherever it is unpacked; `cpack -G NSIS` makes an installer of the same files
# where NSIS is installed. Debian has no Qt for Windows, so no build here goes this way.
if(WIN32)
    qt_generate_deploy_app_script(TARGET vorn-build-calculator OUTPUT_SCRIPT vorn_deploy_script)
    install(SCRIPT ${vorn_deploy_script})
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
    # The MSVC run-time DLLs (windeployqt brings MinGW's own).
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION ${CMAKE_INSTALL_BINDIR})
    include(InstallRequiredSystemLibraries)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY "${VORN_APP_TITLE}")
    set(CPACK_PACKAGE_EXECUTABLES vorn-build-calculator "${VORN_APP_TITLE}")
    set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
    set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/icons/vorn-build-calculator.ico)
endif()
include(CPack)
