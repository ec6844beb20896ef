# Cross-compiling ruvex.exe for 32-bit Windows with Debian's mingw-w64: the program that ships.
# The -win32 compilers use Windows' own threads, so nothing of winpthreads (which calls
# functions that Windows XP lacks) is linked in.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-win32.cmake)
