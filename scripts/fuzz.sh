# Sourced by test.sh: builds the libFuzzer targets in build/fuzz and runs
# each for a bounded time from its seed corpus in tests/fuzz/corpus/NAME.
# Inputs the fuzzer finds collect in build/fuzz/corpus/NAME (never in the
# committed seeds); a crashing input is saved in build/fuzz/artifacts.

KAIMO_FUZZ_PACKAGES=(clang libclang-rt-dev)

# kaimo_run_fuzzers SECONDS
kaimo_run_fuzzers() {
  local seconds=$1
  if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: ./test.sh --fuzz [SECONDS]  (SECONDS a whole number above 0)" >&2
    return 2
  fi
  kaimo_install_packages "${KAIMO_FUZZ_PACKAGES[@]}"
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAIMO_BUILD_FUZZ=ON -DKAIMO_BUILD_TESTS=OFF -DKAIMO_BUILD_APP=OFF -DKAIMO_BUILD_BENCH=OFF -DKAIMO_WERROR=ON >/dev/null
  cmake --build build/fuzz --target kaimo_fuzzers -j "$(nproc)"
  mkdir -p build/fuzz/artifacts build/fuzz/logs
  local fuzzer name seeds options
  for fuzzer in build/fuzz/fuzzers/*; do
    name=$(basename "$fuzzer")
    mkdir -p "build/fuzz/corpus/$name"
    seeds=()
    [ -d "tests/fuzz/corpus/$name" ] && seeds=("tests/fuzz/corpus/$name")
    # A target's own flags (kaimo_add_fuzzer ... MAX_LEN), one line of words.
    options=()
    [ -f "build/fuzz/fuzzer_options/$name" ] && read -r -a options <"build/fuzz/fuzzer_options/$name"
    echo "Fuzzing $name for $seconds s"
    if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 "${options[@]}" \
        -artifact_prefix="build/fuzz/artifacts/$name-" \
        "build/fuzz/corpus/$name" "${seeds[@]}" >"build/fuzz/logs/$name.log" 2>&1; then
      tail -n 60 "build/fuzz/logs/$name.log" >&2
      echo "$name failed; the input is in build/fuzz/artifacts, the log in build/fuzz/logs/$name.log" >&2
      return 1
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "build/fuzz/logs/$name.log" | sed 's/^/  /'
  done
}
