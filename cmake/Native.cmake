# The native tree: the portable code under AddressSanitizer and UBSan, its unit tests, and a
# bounded fuzzing run when clang is the compiler.
set(RUVEX_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(ruvex_portable STATIC ${RUVEX_PORTABLE_SOURCES})
target_compile_options(ruvex_portable PRIVATE -Wall -Wextra -Werror ${RUVEX_SANITIZE})
target_link_options(ruvex_portable PUBLIC ${RUVEX_SANITIZE})
target_compile_options(ruvex_portable PUBLIC ${RUVEX_SANITIZE})

if(BUILD_TESTING)
    add_subdirectory(${RUVEX_GOOGLETEST_DIR} googletest EXCLUDE_FROM_ALL)
    include(GoogleTest)
    add_executable(portable_tests tests/test_portable.cpp)
    target_link_libraries(portable_tests PRIVATE ruvex_portable gtest_main)
    target_compile_options(portable_tests PRIVATE -Wall -Wextra -Werror)
    gtest_discover_tests(portable_tests)

    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        add_executable(fuzz_names tests/fuzz_names.cpp ${RUVEX_PORTABLE_SOURCES})
        target_compile_options(fuzz_names PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
        target_link_options(fuzz_names PRIVATE -fsanitize=fuzzer,address,undefined)
        add_test(NAME fuzz_names COMMAND fuzz_names -max_total_time=15 -max_len=600 -rss_limit_mb=2048)
    endif()
endif()

