#!/usr/bin/env bash
# Builds and runs every test. Options:
#   (none)      the release build
#   --sanitize  a separate build with AddressSanitizer and UndefinedBehaviorSanitizer
#   --tsan      a separate build with ThreadSanitizer, running the threaded tests
#   --fuzz [SECONDS]  the libFuzzer targets (clang++), each run SECONDS (30)
# Every build here treats the compiler's warnings as errors (KAIMO_WERROR).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
source scripts/fuzz.sh

mode=${1:-release}
kaimo_install_packages "${KAIMO_PACKAGES[@]}"

case "$mode" in
  release)
    kaimo_build build/release "${KAIMO_RELEASE_OPTIONS[@]}" -DKAIMO_WERROR=ON
    cd build/release && ctest -j "$(nproc)" --output-on-failure
    ;;
  --sanitize)
    kaimo_build build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAIMO_SANITIZE=address -DKAIMO_BUILD_BENCH=OFF -DKAIMO_WERROR=ON
    cd build/asan && ctest -j "$(nproc)" --output-on-failure
    ;;
  --tsan)
    # Only the suites labelled "threads" are built (kaimo_threaded_tests) and run.
    KAIMO_TARGETS=kaimo_threaded_tests \
      kaimo_build build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAIMO_SANITIZE=thread -DKAIMO_BUILD_BENCH=OFF \
      -DKAIMO_WERROR=ON
    cd build/tsan && ctest -j "$(nproc)" --output-on-failure -L threads
    ;;
  --fuzz)
    kaimo_run_fuzzers "${2:-30}"
    ;;
  *)
    echo "usage: ./test.sh [--sanitize|--tsan|--fuzz [SECONDS]]" >&2
    exit 2
    ;;
esac
