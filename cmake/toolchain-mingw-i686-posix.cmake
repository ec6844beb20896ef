# Cross-compiling the tests and tools that run under Wine. The -posix compilers are the ones
# whose C++ runtime has std::mutex and friends, which GoogleTest needs; ruvex.exe itself
# comes from the -win32 compilers (toolchain-mingw-i686.cmake, see cmake/Windows.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
