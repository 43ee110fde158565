# Fails when any C++ source of the project is not formatted with the project's .clang-format.
file(GLOB_RECURSE sources
    ${TOP}/src/*.cpp ${TOP}/src/*.h
    ${TOP}/tests/*.cpp ${TOP}/tests/*.h
    ${TOP}/bench/*.cpp ${TOP}/bench/*.h
    ${TOP}/fuzz/*.cpp ${TOP}/fuzz/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Sources are not formatted: run clang-format -i on the files above.")
endif()
