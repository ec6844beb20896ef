# Programs around Ruvex that are not part of it: the scripted tour of tools/run.sh and the
# benchmark program of bench/run.sh. They drive ruvex.exe through the test driver
# (tests/harness/driver.h), so they exist only in a tree built with its tests.
function(ruvex_tool name)
    add_executable(${name} ${ARGN})
    target_compile_options(${name} PRIVATE ${RUVEX_WARNINGS} -Wno-missing-field-initializers)  # Win32 records in part
    target_link_libraries(${name} PRIVATE ruvex_driver)
    target_link_options(${name} PRIVATE -static)
    add_dependencies(${name} ruvex_i686 ruvex_x86_64)
endfunction()

ruvex_tool(ruvex_tour tools/demo/tour.cpp)
# The benchmark also runs the program's own procedures and resources in its own process, and
# starts its yardstick for start-up, bench_bare_dialog.exe, which comes with each ruvex.exe
# (cmake/Windows.cmake).
ruvex_tool(bench bench/bench.cpp app/ruvex.rc)
target_link_libraries(bench PRIVATE ruvex_core psapi)
add_dependencies(bench ruvex_pictures)
