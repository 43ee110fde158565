# The releases as NEWS.md tells them, newest first: a "## VERSION (YYYY-MM-DD)" heading each, with
# "- " items below it, an item going on in lines indented by two spaces. The Debian changelog and the
# AppStream releases are made from them, so they always say the same; the package's revision counts
# the releases, so each one has a package version of its own. Included from cmake/AppIdentity.cmake:
#   VORN_RELEASES                   how many releases; 1 is the newest
#   VORN_RELEASE_<n>_VERSION        the program's version, as the About window shows it
#   VORN_RELEASE_<n>_PACKAGE        the package's version: the program's, then the release's number
#   VORN_RELEASE_<n>_DATE           the day, YYYY-MM-DD
#   VORN_RELEASE_DATE, VORN_PACKAGE_VERSION   the newest release's
#   VORN_METAINFO_RELEASES          the AppStream <release> elements
# and vorn_debian_changelog(), which writes the changelog's entries.
set(vorn_news ${PROJECT_SOURCE_DIR}/NEWS.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${vorn_news})
file(READ ${vorn_news} vorn_text)
# A list of lines; the text's own semicolons wait out the split as a character no text holds.
string(ASCII 31 vorn_semicolon)
string(REPLACE ";" "${vorn_semicolon}" vorn_text "${vorn_text}")
string(REPLACE "\n" ";" vorn_lines "${vorn_text}")

set(VORN_RELEASES 0)
set(vorn_item 0)
foreach(vorn_line IN LISTS vorn_lines)
    set(n ${VORN_RELEASES})
    if(vorn_line MATCHES "^## ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
        math(EXPR VORN_RELEASES "${VORN_RELEASES} + 1")
        set(VORN_RELEASE_${VORN_RELEASES}_VERSION ${CMAKE_MATCH_1})
        set(VORN_RELEASE_${VORN_RELEASES}_DATE ${CMAKE_MATCH_2})
        set(VORN_RELEASE_${VORN_RELEASES}_ITEMS 0)
        set(vorn_item 0)
    elseif(vorn_line MATCHES "^## ")
        message(FATAL_ERROR "NEWS.md: a release's heading is \"## VERSION (YYYY-MM-DD)\", not \"${vorn_line}\"")
    elseif(n GREATER 0 AND vorn_line MATCHES "^- (.+)$")
        math(EXPR vorn_item "${VORN_RELEASE_${n}_ITEMS} + 1")
        set(VORN_RELEASE_${n}_ITEMS ${vorn_item})
        set(VORN_RELEASE_${n}_ITEM_${vorn_item} "${CMAKE_MATCH_1}")
    elseif(vorn_item GREATER 0 AND vorn_line MATCHES "^  ([^ ].*)$")
        string(APPEND VORN_RELEASE_${n}_ITEM_${vorn_item} "\n${CMAKE_MATCH_1}")
    elseif(n GREATER 0 AND NOT vorn_line STREQUAL "")
        message(FATAL_ERROR "NEWS.md: under a release, only \"- \" items and their indented lines: \"${vorn_line}\"")
    else()
        set(vorn_item 0)
    endif()
endforeach()

if(VORN_RELEASES EQUAL 0)
    message(FATAL_ERROR "NEWS.md holds no release")
endif()
if(NOT VORN_RELEASE_1_VERSION STREQUAL VORN_DISPLAY_VERSION)
    message(FATAL_ERROR "NEWS.md's newest release is ${VORN_RELEASE_1_VERSION}, the program is ${VORN_DISPLAY_VERSION}")
endif()
foreach(n RANGE 1 ${VORN_RELEASES})
    if(VORN_RELEASE_${n}_ITEMS EQUAL 0)
        message(FATAL_ERROR "NEWS.md: release ${VORN_RELEASE_${n}_VERSION} says nothing")
    endif()
    math(EXPR vorn_revision "${VORN_RELEASES} - ${n} + 1")
    set(VORN_RELEASE_${n}_PACKAGE "${VORN_RELEASE_${n}_VERSION}-${vorn_revision}")
    # Each release comes after the one below it: the changelog and the software centres order them by day.
    math(EXPR vorn_older "${n} + 1")
    if(vorn_older LESS_EQUAL VORN_RELEASES
       AND NOT VORN_RELEASE_${n}_DATE STRGREATER VORN_RELEASE_${vorn_older}_DATE)
        message(FATAL_ERROR "NEWS.md: ${VORN_RELEASE_${n}_DATE} is not after the release below it")
    endif()
endforeach()
set(VORN_RELEASE_DATE ${VORN_RELEASE_1_DATE})
set(VORN_PACKAGE_VERSION ${VORN_RELEASE_1_PACKAGE})

# An item as one line of text, its semicolons back; for AppStream with XML's three special characters
# escaped.
function(vorn_news_item n i out)
    string(REPLACE "\n" " " text "${VORN_RELEASE_${n}_ITEM_${i}}")
    string(REPLACE "${vorn_semicolon}" ";" text "${text}")
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(VORN_METAINFO_RELEASES)
foreach(n RANGE 1 ${VORN_RELEASES})
    string(APPEND VORN_METAINFO_RELEASES
           "    <release version=\"${VORN_RELEASE_${n}_PACKAGE}\" date=\"${VORN_RELEASE_${n}_DATE}\">\n"
           "      <description>\n        <ul>\n")
    foreach(i RANGE 1 ${VORN_RELEASE_${n}_ITEMS})
        vorn_news_item(${n} ${i} item)
        string(APPEND VORN_METAINFO_RELEASES "          <li>${item}</li>\n")
    endforeach()
    string(APPEND VORN_METAINFO_RELEASES "        </ul>\n      </description>\n    </release>\n")
endforeach()
string(REGEX REPLACE "\n$" "" VORN_METAINFO_RELEASES "${VORN_METAINFO_RELEASES}")

# The Debian changelog, an entry for each release from the template, whose @entry_date@ takes the day as
# a changelog writes it (the function given turns YYYY-MM-DD into that) and @entry_items@ the items as
# the changelog lists them, wrapped as NEWS.md wraps them.
function(vorn_debian_changelog template date_function out)
    file(READ ${template} template_text)
    set(text)
    foreach(n RANGE 1 ${VORN_RELEASES})
        set(entry_version ${VORN_RELEASE_${n}_PACKAGE})
        cmake_language(CALL ${date_function} ${VORN_RELEASE_${n}_DATE} entry_date)
        set(entry_items)
        foreach(i RANGE 1 ${VORN_RELEASE_${n}_ITEMS})
            string(REPLACE "\n" "\n    " item "${VORN_RELEASE_${n}_ITEM_${i}}")
            string(REPLACE "${vorn_semicolon}" ";" item "${item}")
            string(APPEND entry_items "  * ${item}\n")
        endforeach()
        string(CONFIGURE "${template_text}" entry @ONLY)
        if(n GREATER 1)
            string(APPEND text "\n")
        endif()
        string(APPEND text "${entry}")
    endforeach()
    file(WRITE ${out} "${text}")
endfunction()
