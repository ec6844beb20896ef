# Tests that need Windows: 64-bit GoogleTest programs run under Wine, each in its own session
# (tests/harness/session.sh): a private network namespace, an Xvfb display, a wineserver and the
# test FTP server. The session chooses the ruvex.exe they drive and says which. A Wine prefix
# serves one session at a time: the shipped program's session has one of its own.
add_subdirectory(${RUVEX_GOOGLETEST_DIR} googletest EXCLUDE_FROM_ALL)

add_library(ruvex_driver INTERFACE)  # tests/harness/driver.h
target_compile_definitions(ruvex_driver INTERFACE WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)

# ruvex_wine_test(NAME TIMEOUT SOURCES...): a console program run in a session.
function(ruvex_wine_test name timeout)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE ruvex_driver gtest_main comctl32 psapi)
    target_link_options(${name} PRIVATE -static)
    add_dependencies(${name} ruvex_i686 ruvex_x86_64 ruvex_pictures)
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/harness/session.sh -- wine $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${timeout}
        RESOURCE_LOCK wineprefix
        ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;RUVEX_SHIPPED_EXE=${RUVEX_SHIPPED_EXE};RUVEX_EXE_64=${RUVEX_EXE_64};RUVEX_PLANTED_LIBRARY=${CMAKE_BINARY_DIR}/i686/planted_library.dll;RUVEX_PICTURES=${RUVEX_PICTURES_DIR}")
endfunction()

ruvex_wine_test(e2e 300 tests/e2e/test_browser.cpp tests/e2e/test_file_ops.cpp)
# Its UTF-8 session runs apart, under the code page 65001 that Wine takes from LANG.
add_test(NAME e2e_utf8 COMMAND ${CMAKE_SOURCE_DIR}/tests/harness/session.sh -- wine $<TARGET_FILE:e2e>)
get_test_property(e2e ENVIRONMENT environment)
set_tests_properties(e2e_utf8 PROPERTIES TIMEOUT 120 RESOURCE_LOCK wineprefix
                     ENVIRONMENT "${environment};GTEST_FILTER=*Utf8*;LANG=hi_IN.UTF-8")
set_property(TEST e2e APPEND PROPERTY ENVIRONMENT GTEST_FILTER=-*Utf8*)
# The very ruvex.exe that ships, through one whole session as a person uses it, under Japanese
# Windows' code page 932 (Wine takes it from LANG), with libraries planted beside it. Two starts:
# emulated, a start takes a minute.
ruvex_wine_test(e2e_shipped 420 tests/e2e/test_shipped.cpp)
set_property(TEST e2e_shipped APPEND PROPERTY ENVIRONMENT LANG=ja_JP.UTF-8 RUVEX_DRIVE=shipped
             WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-shipped)  # its own, so it runs beside the others
set_tests_properties(e2e_shipped PROPERTIES RESOURCE_LOCK wineprefix-shipped)
set_tests_properties(e2e_shipped PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")  # the emulator's hang
