# The mingw-w64 -win32 cross compilers for CMAKE_SYSTEM_PROCESSOR (i686 or x86_64), which the
# toolchain files set before including this.
set(CMAKE_SYSTEM_NAME Windows)
set(_ruvex_triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${_ruvex_triple}-gcc-win32)
set(CMAKE_CXX_COMPILER ${_ruvex_triple}-g++-win32)
set(CMAKE_RC_COMPILER ${_ruvex_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_ruvex_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
