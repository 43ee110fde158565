# The application's identity, taken from project(): the title, the version and the homepage. Everything
# that shows or records them is generated from here: the identity header the About window reads, the
# Windows version record and the package. Included from the top-level CMakeLists.txt, after project().

# The title users see on the calculator window, the About window and the package.
set(VORN_APP_TITLE "VORN Build Calculator")

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
