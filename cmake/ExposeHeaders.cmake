# Includes name their folder ("rules/BuildUtils.h"). A library hands its users an include folder that
# holds its own folder and nothing else, so that no target reaches headers of a library it does not
# link.
function(vorn_expose_headers target folder)
    set(root ${PROJECT_BINARY_DIR}/include/${folder})
    if(NOT EXISTS ${root}/${folder})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
