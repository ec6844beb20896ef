# The cross tree: ruvex.exe, a 32-bit GUI program with its C and C++ runtime linked in, and
# the tests that need Windows (run under Wine).
include(cmake/Pictures.cmake)

set(RUVEX_WARNINGS -Wall -Wextra -Werror)

# Everything but the entry point, so that tests under Wine can drive the real procedures.
add_library(ruvex_core STATIC
    ${RUVEX_PORTABLE_SOURCES}
    app/app.cpp
    ftp/session.cpp
    browser/main_window.cpp
    browser/listing.cpp
    browser/images.cpp
    browser/file_ops.cpp
    dialogs/login.cpp
    dialogs/prompt.cpp
    dialogs/choosers.cpp
)
target_compile_options(ruvex_core PRIVATE ${RUVEX_WARNINGS} -fno-exceptions -fno-rtti)
target_compile_definitions(ruvex_core PUBLIC WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)
target_link_libraries(ruvex_core PUBLIC wininet comctl32 comdlg32)

add_executable(ruvex WIN32 app/main.cpp app/ruvex.rc)
target_compile_options(ruvex PRIVATE ${RUVEX_WARNINGS} -fno-exceptions -fno-rtti)
target_link_libraries(ruvex PRIVATE ruvex_core)
target_link_options(ruvex PRIVATE -static -s)
add_dependencies(ruvex ruvex_pictures)
set_property(SOURCE app/ruvex.rc APPEND PROPERTY OBJECT_DEPENDS ${RUVEX_PICTURE_FILES})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${RUVEX_PICTURES_DIR}")

if(BUILD_TESTING)
    add_test(NAME exe_is_standalone_gui_pe32
             COMMAND ${CMAKE_SOURCE_DIR}/tests/check_exe.sh $<TARGET_FILE:ruvex>)
    include(cmake/WineTests.cmake)
    include(cmake/Tools.cmake)
endif()
