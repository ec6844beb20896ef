# Tests that need Windows: GoogleTest programs built with the cross compiler and run under
# Wine, each in its own session (tests/harness/session.sh): a private network namespace,
# an Xvfb display, a wineserver and the test FTP server. They share the build's Wine prefix,
# so they run one at a time.
add_subdirectory(${RUVEX_GOOGLETEST_DIR} googletest EXCLUDE_FROM_ALL)

add_library(ruvex_driver INTERFACE)  # tests/harness/driver.h
target_link_libraries(ruvex_driver INTERFACE comctl32)
target_compile_definitions(ruvex_driver INTERFACE WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)

# ruvex_wine_test(NAME SOURCES... [LIBRARIES...]): a console program run in a session.
function(ruvex_wine_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ruvex_driver gtest_main ${ARG_LIBRARIES})
    target_link_options(${name} PRIVATE -static)
    add_dependencies(${name} ruvex)
    add_test(NAME ${name}
             COMMAND ${CMAKE_SOURCE_DIR}/tests/harness/session.sh
                     -- wine $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        RESOURCE_LOCK wineprefix
        ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;RUVEX_EXE=${RUVEX_EXE};RUVEX_PLANTED_LIBRARY=${CMAKE_BINARY_DIR}/planted_library.dll")
endfunction()

ruvex_wine_test(e2e SOURCES tests/e2e/test_login.cpp tests/e2e/test_browser.cpp tests/e2e/test_file_ops.cpp
                            tests/e2e/test_system_libraries.cpp)
# Names on Japanese Windows: Wine takes the program's code page, 932, from LANG.
ruvex_wine_test(e2e_double_byte SOURCES tests/e2e/test_double_byte.cpp)
set_property(TEST e2e_double_byte APPEND PROPERTY ENVIRONMENT LANG=ja_JP.UTF-8)
# Planted beside a copy of ruvex.exe by test_system_libraries.cpp.
add_library(planted_library SHARED tests/e2e/planted_library.cpp)
set_target_properties(planted_library PROPERTIES PREFIX "")
target_link_options(planted_library PRIVATE -static)
add_dependencies(e2e planted_library)
