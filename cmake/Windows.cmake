# The cross trees: ruvex.exe, a GUI program with its C runtime linked in, and the tests that need
# Windows (run under Wine).
include(cmake/Pictures.cmake)

set(RUVEX_WARNINGS -Wall -Wextra -Werror)

# Everything but the entry point: ruvex.exe links it, and so does the in-process benchmark.
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

# ruvex.exe; on demand, the yardstick of the start-up benchmark, built as ruvex.exe is, the
# library the tests plant beside it, and the bare upload that tells an emulator's hang apart.
function(ruvex_programs)
    add_executable(ruvex WIN32 app/main.cpp app/ruvex.rc)
    target_link_libraries(ruvex PRIVATE ruvex_core)
    add_executable(bench_bare_dialog WIN32 EXCLUDE_FROM_ALL bench/bare_dialog.cpp app/ruvex.rc)
    foreach(program ruvex bench_bare_dialog)
        target_compile_options(${program} PRIVATE ${RUVEX_WARNINGS} ${RUVEX_SIZE_OPTIONS})
        target_link_options(${program} PRIVATE -static -s -Wl,--gc-sections)
        add_dependencies(${program} ruvex_pictures)
    endforeach()
    add_executable(bare_upload EXCLUDE_FROM_ALL tools/bare_upload.cpp)
    target_link_libraries(bare_upload PRIVATE wininet comdlg32)
    target_link_options(bare_upload PRIVATE -static)
    add_library(planted_library SHARED EXCLUDE_FROM_ALL tests/e2e/planted_library.cpp)
    set_target_properties(planted_library PROPERTIES PREFIX "")
    target_link_options(planted_library PRIVATE -static)
endfunction()

# A tree built with the -win32 compilers builds ruvex.exe: tools/release.sh's i686 tree makes the
# one that ships. The test tree, built with the x86_64 -posix compilers that GoogleTest needs,
# takes its programs from two nested -win32 trees, in i686/ and x86_64/ of the tree. Which
# ruvex.exe a test drives, the shipped one (RUVEX_SHIPPED_EXE) or the 64-bit build, is
# tools/wine-env.sh's choice.
if(CMAKE_CXX_COMPILER MATCHES "-win32$")
    ruvex_programs()
else()
    include(ExternalProject)
    set(programs_i686 bench_bare_dialog planted_library bare_upload)  # the shipped exe is release.sh's
    set(programs_x86_64 ruvex bench_bare_dialog)
    foreach(arch i686 x86_64)
        ExternalProject_Add(ruvex_${arch}
            SOURCE_DIR ${CMAKE_SOURCE_DIR}
            BINARY_DIR ${CMAKE_BINARY_DIR}/${arch}-tree
            CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-mingw-${arch}.cmake
                       -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DBUILD_TESTING=OFF
                       -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${CMAKE_BINARY_DIR}/${arch}
            BUILD_COMMAND ${CMAKE_COMMAND} --build . --target ${programs_${arch}}
            BUILD_ALWAYS ON
            INSTALL_COMMAND ""
            BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/${arch}/bench_bare_dialog.exe)
    endforeach()
    set(RUVEX_SHIPPED_EXE ${CMAKE_BINARY_DIR}/release/ruvex.exe CACHE FILEPATH
        "The ruvex.exe the tests take for the shipped one: tools/build-windows.sh names tools/release.sh's")
    set(RUVEX_EXE_64 ${CMAKE_BINARY_DIR}/x86_64/ruvex.exe)
endif()

if(BUILD_TESTING AND NOT CMAKE_CXX_COMPILER MATCHES "-win32$")
    add_test(NAME exe_is_standalone_gui_pe32
             COMMAND ${CMAKE_SOURCE_DIR}/tools/check-exe.sh ${RUVEX_SHIPPED_EXE})
    include(cmake/WineTests.cmake)
    include(cmake/Tools.cmake)
endif()
