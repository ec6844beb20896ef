# Cross-compiling a 64-bit ruvex.exe with the -win32 compilers and the same flags as the one that
# ships (toolchain-mingw-i686.cmake), so that the two differ only in the target. The tests drive
# it where 32-bit code runs only emulated (tools/wine-env.sh chooses).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-win32.cmake)
