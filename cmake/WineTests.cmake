# Tests that need Windows: GoogleTest programs built with the cross compiler and run under
# Wine, each in its own session (tests/harness/session.sh): a private network namespace,
# an Xvfb display, a wineserver and the test FTP server. They share the build's Wine prefix,
# so they run one at a time.
add_subdirectory(${RUVEX_GOOGLETEST_DIR} googletest EXCLUDE_FROM_ALL)

set(RUVEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(RUVEX_SESSION ${CMAKE_SOURCE_DIR}/tests/harness/session.sh)

add_library(ruvex_driver STATIC tests/harness/driver.cpp)
target_link_libraries(ruvex_driver PUBLIC comctl32 gdi32)
target_compile_definitions(ruvex_driver PUBLIC WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)

# ruvex_wine_test(NAME SOURCES... [NO_FTP] [REPORTS_SKIPS] [TIMEOUT seconds]): a console program
# run in a session. REPORTS_SKIPS: a run whose tests were all skipped shows as skipped in ctest.
function(ruvex_wine_test name)
    cmake_parse_arguments(ARG "NO_FTP;REPORTS_SKIPS" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    if(ARG_REPORTS_SKIPS)
        add_executable(${name} ${ARG_SOURCES} tests/harness/gtest_main_skips.cpp)
        target_link_libraries(${name} PRIVATE ruvex_driver gtest ${ARG_LIBRARIES})
    else()
        add_executable(${name} ${ARG_SOURCES})
        target_link_libraries(${name} PRIVATE ruvex_driver gtest_main ${ARG_LIBRARIES})
    endif()
    target_link_options(${name} PRIVATE -static)
    add_dependencies(${name} ruvex)
    set(session_options)
    if(ARG_NO_FTP)
        list(APPEND session_options --no-ftp)
    endif()
    add_test(NAME ${name}
             COMMAND ${RUVEX_SESSION} ${session_options} --screenshots ${CMAKE_BINARY_DIR}/screenshots
                     -- wine $<TARGET_FILE:${name}>)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        RESOURCE_LOCK wineprefix
        ENVIRONMENT "WINEPREFIX=${RUVEX_WINEPREFIX};RUVEX_EXE=${RUVEX_EXE}")
    if(ARG_REPORTS_SKIPS)
        set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
    endif()
endfunction()

ruvex_wine_test(e2e_login SOURCES tests/e2e/test_login.cpp)
ruvex_wine_test(e2e_browser SOURCES tests/e2e/test_browser.cpp)
ruvex_wine_test(e2e_file_ops SOURCES tests/e2e/test_file_ops.cpp)
ruvex_wine_test(wine_resources SOURCES tests/wine/test_resources.cpp app/ruvex.rc LIBRARIES ruvex_core NO_FTP)
ruvex_wine_test(wine_list_view SOURCES tests/wine/test_list_view.cpp LIBRARIES ruvex_core NO_FTP)
ruvex_wine_test(e2e_faults SOURCES tests/e2e/test_faults.cpp)
ruvex_wine_test(e2e_platform_limits SOURCES tests/e2e/test_platform_limits.cpp REPORTS_SKIPS)
