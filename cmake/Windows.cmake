# The cross tree: ruvex.exe, a 32-bit GUI program with its C runtime linked in, and the
# tests that need Windows (run under Wine).
include(cmake/Pictures.cmake)

set(RUVEX_WARNINGS -Wall -Wextra -Werror)

# Everything but the entry point, so that tests under Wine can drive the real procedures.
add_library(ruvex_core STATIC
    ${RUVEX_PORTABLE_SOURCES}
    app/app.cpp
    app/late_imports.cpp
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
target_link_libraries(ruvex_core PUBLIC comctl32)  # WinINet and the common dialogs: app/late_imports.cpp

# ruvex.exe comes only from the -win32 compilers. A tree built with the -posix ones, for the
# tests, builds it through a nested tree of its own into this folder, so the tests run the
# very program a release ships.
set(RUVEX_EXE ${CMAKE_BINARY_DIR}/ruvex.exe)
if(CMAKE_CXX_COMPILER MATCHES "-win32$")
    add_executable(ruvex WIN32 app/main.cpp app/ruvex.rc)
    target_link_libraries(ruvex PRIVATE ruvex_core)
    # The yardstick of the start-up benchmark is built as ruvex.exe is, but only on demand.
    add_executable(bench_bare_dialog WIN32 EXCLUDE_FROM_ALL bench/bare_dialog.cpp app/ruvex.rc)
    foreach(program ruvex bench_bare_dialog)
        target_compile_options(${program} PRIVATE ${RUVEX_WARNINGS} ${RUVEX_SIZE_OPTIONS})
        target_link_options(${program} PRIVATE -static -s -Wl,--gc-sections)
        add_dependencies(${program} ruvex_pictures)
    endforeach()
    set_property(SOURCE app/ruvex.rc APPEND PROPERTY OBJECT_DEPENDS ${RUVEX_PICTURE_FILES})
else()
    include(ExternalProject)
    ExternalProject_Add(ruvex
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/ruvex-win32
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-mingw-i686.cmake
                   -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DBUILD_TESTING=OFF
                   -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${CMAKE_BINARY_DIR}
        BUILD_COMMAND ${CMAKE_COMMAND} --build . --target ruvex bench_bare_dialog
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS ${RUVEX_EXE} ${CMAKE_BINARY_DIR}/bench_bare_dialog.exe)
endif()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${RUVEX_PICTURES_DIR}")

if(BUILD_TESTING)
    add_test(NAME exe_is_standalone_gui_pe32
             COMMAND ${CMAKE_SOURCE_DIR}/tests/check_exe.sh ${RUVEX_EXE})
    include(cmake/WineTests.cmake)
    include(cmake/Tools.cmake)
endif()
