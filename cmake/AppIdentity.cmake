# The application's identity, taken from project(): the title, the version and the homepage. Everything
# that shows or records them is generated from here: the identity header the About window reads, the
# Windows version record, the desktop entry, the AppStream metadata and the package. Included from the
# top-level CMakeLists.txt, after project().

# The title users see on the calculator window, the About window and the package.
include(${CMAKE_CURRENT_LIST_DIR}/AppTitle.cmake)

# The reverse-DNS id a desktop knows the program by: the desktop entry, the icon, the file type's entry
# and the AppStream metadata are named after it. The executable keeps the project's name. main.cpp
# names the desktop entry with the same id.
set(VORN_APP_ID "org.vorncalc.BuildCalculator")

# The version users see, as the About window shows it: 1.0.6 for 1.0.0.6. The day it was released and
# the package's version come from NEWS.md.
set(VORN_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
include(${CMAKE_CURRENT_LIST_DIR}/News.cmake)

# The version record writes the minor number with two digits and the revision (the fourth number) with
# four: 1.0.0.6 is "1.00.0006".
function(vorn_zero_pad value width out)
    string(LENGTH "${value}" length)
    set(padded "${value}")
    while(length LESS width)
        string(PREPEND padded "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out} "${padded}" PARENT_SCOPE)
endfunction()
vorn_zero_pad("${PROJECT_VERSION_MINOR}" 2 vorn_minor_padded)
vorn_zero_pad("${PROJECT_VERSION_TWEAK}" 4 vorn_revision_padded)
set(VORN_VERSION_RECORD_TEXT "${PROJECT_VERSION_MAJOR}.${vorn_minor_padded}.${vorn_revision_padded}")

# The version record, in the build folder; its icon is found through the resources/ include folder.
set(VORN_RC_FILE "${PROJECT_BINARY_DIR}/resources/vorn-build-calculator.rc")
configure_file("${PROJECT_SOURCE_DIR}/resources/vorn-build-calculator.rc.in" "${VORN_RC_FILE}" @ONLY)

# The desktop entry and the AppStream metadata, in the build folder under the names a desktop looks for.
# The screenshots are the pictures in docs/, as the homepage's repository serves them.
string(REPLACE "https://github.com/" "https://raw.githubusercontent.com/" vorn_raw_files
       "${PROJECT_HOMEPAGE_URL}")
set(VORN_SCREENSHOTS_URL "${vorn_raw_files}/main/docs")
set(VORN_DESKTOP_FILE "${PROJECT_BINARY_DIR}/resources/${VORN_APP_ID}.desktop")
configure_file("${PROJECT_SOURCE_DIR}/resources/vorn-build-calculator.desktop.in" "${VORN_DESKTOP_FILE}"
               @ONLY)
set(VORN_METAINFO_FILE "${PROJECT_BINARY_DIR}/resources/${VORN_APP_ID}.metainfo.xml")
configure_file("${PROJECT_SOURCE_DIR}/resources/vorn-build-calculator.metainfo.xml.in" "${VORN_METAINFO_FILE}"
               @ONLY)
