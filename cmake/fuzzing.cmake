# KAIMO_BUILD_FUZZ: a build of the libFuzzer targets only (clang++). Every
# library gets the sanitizers, so a fault deep in the board code is caught as
# well as one in a reader, and the fuzzer's coverage hooks (except where
# tests/fuzz/coverage_ignore.txt says).
option(KAIMO_BUILD_FUZZ "Build the libFuzzer targets (needs clang++)" OFF)

if(KAIMO_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KAIMO_BUILD_FUZZ needs clang++ (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  if(NOT KAIMO_SANITIZE STREQUAL "")
    message(FATAL_ERROR "KAIMO_BUILD_FUZZ brings its own sanitizers; leave KAIMO_SANITIZE empty")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g
                      -fsanitize-coverage-ignorelist=${PROJECT_SOURCE_DIR}/tests/fuzz/coverage_ignore.txt)
  add_link_options(-fsanitize=address,undefined)
endif()
