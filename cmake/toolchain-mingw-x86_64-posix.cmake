# Cross-compiling the tests and tools that run under Wine. They are 64-bit on every host, so that
# only the 32-bit ruvex.exe runs on Wine's 32-bit side, which some hosts can run only emulated.
# The -posix compilers are the ones whose C++ runtime has std::mutex and friends, which
# GoogleTest needs; ruvex.exe itself comes from the -win32 ones (cmake/Windows.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
