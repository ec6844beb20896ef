# Programs around Ruvex that are not part of it: the scripted tour of tools/run.sh and the
# benchmark programs of bench/run.sh. They drive Ruvex through the test driver, so they
# exist only in a tree built with its tests.

# ruvex_tool(NAME [WIN32] SOURCES... [LIBRARIES...]): a static 32-bit program.
function(ruvex_tool name)
    cmake_parse_arguments(ARG "WIN32" "" "SOURCES;LIBRARIES" ${ARGN})
    if(ARG_WIN32)
        add_executable(${name} WIN32 ${ARG_SOURCES})
    else()
        add_executable(${name} ${ARG_SOURCES})
    endif()
    target_compile_options(${name} PRIVATE ${RUVEX_WARNINGS} -Wno-missing-field-initializers)  # Win32 records in part
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
    target_link_options(${name} PRIVATE -static)
endfunction()

ruvex_tool(ruvex_tour SOURCES tools/demo/tour.cpp LIBRARIES ruvex_driver)
add_dependencies(ruvex_tour ruvex_i686 ruvex_x86_64)

# In-process: the program's own procedures and resources against bare WinINet calls.
ruvex_tool(bench_core SOURCES bench/bench_core.cpp app/ruvex.rc LIBRARIES ruvex_core psapi)
add_dependencies(bench_core ruvex_pictures)
# From outside: the real ruvex.exe, driven as a person would.
ruvex_tool(bench_drive SOURCES bench/bench_drive.cpp LIBRARIES ruvex_driver psapi)
# Its yardstick for start-up, bench_bare_dialog.exe, comes with ruvex.exe (cmake/Windows.cmake).
add_dependencies(bench_drive ruvex_i686 ruvex_x86_64)
