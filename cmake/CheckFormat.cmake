cmake_minimum_required(VERSION 3.25)
# cmake -DSOURCE_DIR=... -DCLANG_FORMAT=... -P CheckFormat.cmake
# Fails when a source file differs from what the committed .clang-format makes of it.
file(GLOB_RECURSE files
    ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
    ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp
    ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
    ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp
    ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/bench/*.cpp
    ${SOURCE_DIR}/fuzz/*.h ${SOURCE_DIR}/fuzz/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
    RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Formatting differs (run clang-format -i on these files):\n${errors}")
endif()
list(LENGTH files count)
message(STATUS "${count} files formatted")
