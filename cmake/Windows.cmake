# The cross tree: ruvex.exe, a 32-bit GUI program with its C runtime linked in, and the
# tests that need Windows (run under Wine).
include(cmake/Pictures.cmake)

set(RUVEX_WARNINGS -Wall -Wextra -Werror)

# Everything but the entry point, so that tests under Wine can drive the real procedures.
add_library(ruvex_core STATIC
    ${RUVEX_PORTABLE_SOURCES}
    app/app.cpp
    app/system_libraries.cpp
    ftp/session.cpp
    browser/main_window.cpp
    browser/listing.cpp
    browser/images.cpp
    browser/file_ops.cpp
    dialogs/login.cpp
    dialogs/prompt.cpp
    dialogs/choosers.cpp
)
# Small code without the C++ library's machinery: no exceptions, no type information, no
# unwind tables, and every function in a section of its own for the linker to drop. (Not
# -fdata-sections: for PE it moves zero-filled buffers from .bss into the file.)
set(RUVEX_SIZE_OPTIONS -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -ffunction-sections)
target_compile_options(ruvex_core PRIVATE ${RUVEX_WARNINGS} ${RUVEX_SIZE_OPTIONS})
target_compile_definitions(ruvex_core PUBLIC WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${RUVEX_PICTURES_DIR}")
set_property(SOURCE app/ruvex.rc APPEND PROPERTY OBJECT_DEPENDS ${RUVEX_PICTURE_FILES})

# ruvex.exe, and the yardstick of the start-up benchmark, built as ruvex.exe is but only on demand.
function(ruvex_programs)
    add_executable(ruvex WIN32 app/main.cpp app/ruvex.rc)
    target_link_libraries(ruvex PRIVATE ruvex_core)
    add_executable(bench_bare_dialog WIN32 EXCLUDE_FROM_ALL bench/bare_dialog.cpp app/ruvex.rc)
    foreach(program ruvex bench_bare_dialog)
        target_compile_options(${program} PRIVATE ${RUVEX_WARNINGS} ${RUVEX_SIZE_OPTIONS})
        target_link_options(${program} PRIVATE -static -s -Wl,--gc-sections)
        add_dependencies(${program} ruvex_pictures)
    endforeach()
endfunction()

# RUVEX_EXE is the program the tests drive, RUVEX_SHIPPED_EXE the one a release ships, which
# comes only from the i686 -win32 compilers. A tree built with the -posix ones, for the tests,
# builds it through a nested tree of its own; on i686 the tests drive that very program, on
# x86_64 (hosts that cannot run 32-bit Wine) a 64-bit build of the same sources.
set(RUVEX_EXE ${CMAKE_BINARY_DIR}/ruvex.exe)
if(CMAKE_CXX_COMPILER MATCHES "-win32$")
    ruvex_programs()
    set(RUVEX_SHIPPED_EXE ${RUVEX_EXE})
else()
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
        set(shipped_dir ${CMAKE_BINARY_DIR}/i686)
        set(shipped_target ruvex_i686)
        ruvex_programs()
        add_dependencies(ruvex ruvex_i686)
    else()
        set(shipped_dir ${CMAKE_BINARY_DIR})
        set(shipped_target ruvex)
    endif()
    set(RUVEX_SHIPPED_EXE ${shipped_dir}/ruvex.exe)
    include(ExternalProject)
    ExternalProject_Add(${shipped_target}
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/ruvex-win32
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-mingw-i686.cmake
                   -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DBUILD_TESTING=OFF
                   -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${shipped_dir}
        BUILD_COMMAND ${CMAKE_COMMAND} --build . --target ruvex bench_bare_dialog
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS ${RUVEX_SHIPPED_EXE} ${shipped_dir}/bench_bare_dialog.exe)
endif()

if(BUILD_TESTING)
    add_test(NAME exe_is_standalone_gui_pe32
             COMMAND ${CMAKE_SOURCE_DIR}/tests/check_exe.sh ${RUVEX_SHIPPED_EXE})
    include(cmake/WineTests.cmake)
    include(cmake/Tools.cmake)
endif()
