# nlohmann-json is header-only plain C++, so Debian's copy also serves the builds for other systems
# (WebAssembly with emscripten, Windows with MinGW), whose own system roots don't hold it. Only its own
# folder goes on the include path, so that no Linux system header can slip into such a build.
set(VORN_NLOHMANN_JSON_DIR /usr/include/nlohmann CACHE PATH "nlohmann-json's headers (the folder holding json.hpp)")

function(vorn_debian_json_headers target scope)
    if(NOT EXISTS ${VORN_NLOHMANN_JSON_DIR}/json.hpp)
        message(FATAL_ERROR "nlohmann-json's headers are not in ${VORN_NLOHMANN_JSON_DIR}: install nlohmann-json3-dev")
    endif()
    set(root ${PROJECT_BINARY_DIR}/include/nlohmann-json)
    if(NOT EXISTS ${root}/nlohmann)
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${VORN_NLOHMANN_JSON_DIR} ${root}/nlohmann SYMBOLIC)
    endif()
    target_include_directories(${target} SYSTEM ${scope} ${root})
endfunction()
