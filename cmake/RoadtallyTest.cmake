# roadtally_add_test(<name> <core|ui> <sources...>)
# One Qt Test executable per subject, registered with CTest and run headless.
function(roadtally_add_test name kind)
    add_executable(${name} ${ARGN})
    if(kind STREQUAL "ui")
        target_link_libraries(${name} PRIVATE roadtally_ui Qt6::Test)
    else()
        target_link_libraries(${name} PRIVATE roadtally_core Qt6::Test)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        ROADTALLY_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FONT_DPI=96"
        TIMEOUT 300)
endfunction()
