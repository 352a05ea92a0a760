#!/usr/bin/env bash
# Builds Lumivex and runs the test suite in four variants: a release build with every test; an
# AddressSanitizer + UndefinedBehaviorSanitizer build with every test; a ThreadSanitizer build
# with the tests of the library's threads (the programs add no threads of their own, and their
# slow end-to-end runs are covered by the other two, except the fern's, which exercises the
# script's hand-over); and bounded runs of the fuzzers (libFuzzer, with clang): the drawing API
# from its seed corpus, then the script parser. LUMIVEX_TEST_VARIANTS picks a subset ("release
# asan tsan fuzz" by default); LUMIVEX_FUZZ_SECONDS sets the drawing API's fuzzing time (the
# parser gets a quarter of it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
variants=${LUMIVEX_TEST_VARIANTS:-release asan tsan fuzz}
jobs=$(nproc)
# Sanitizer builds: light optimisation and line tables keep them quick to build and reports
# readable; assertions stay on.
sanitizer_flags=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1"
                 -DLUMIVEX_BUILD_BENCH=OFF)

configure() {  # configure DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

for variant in $variants; do
  echo "== $variant" >&2
  start=$(date +%s)
  case $variant in
    release)
      # Without debug information, and without the benchmarks (scripts/bench.sh builds those),
      # to keep the run short.
      configure build -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
        -DLUMIVEX_BUILD_BENCH=OFF
      cmake --build build -j "$jobs"
      ctest --test-dir build --output-on-failure -j "$jobs"
      ;;
    asan)
      configure build-asan "${sanitizer_flags[@]}" -DLUMIVEX_SANITIZE=address
      cmake --build build-asan -j "$jobs"
      ctest --test-dir build-asan --output-on-failure -j "$jobs"
      ;;
    tsan)
      configure build-tsan "${sanitizer_flags[@]}" -DLUMIVEX_SANITIZE=thread
      tests=(unit_tests unit_small_screen_tests unit_mouse_tests stress_tests window_system_tests
             raster_tests fern_tests)
      # grep reads all of ninja's output: with -q it could stop early and, under pipefail, fail ninja.
      if ninja -C build-tsan -t targets all | grep '^sdl_window_tests:' >/dev/null; then
        tests+=(sdl_window_tests)
      fi
      cmake --build build-tsan -j "$jobs" --target "${tests[@]}"
      pattern=$(IFS='|'; echo "^(${tests[*]})\$")
      ctest --test-dir build-tsan --output-on-failure -j "$jobs" -R "$pattern"
      ;;
    fuzz)
      CXX=clang++ configure build-fuzz "${sanitizer_flags[@]}" -DLUMIVEX_FUZZ=ON \
        -DLUMIVEX_SANITIZE=address -DLUMIVEX_BUILD_TESTS=OFF
      cmake --build build-fuzz -j "$jobs" --target api_fuzzer script_fuzzer
      # No crash, no leak, no unit slower than a second (runaway rasterising) in the time given:
      # the drawing API from its seed corpus, then the script parser from the demo scripts. A
      # failure prints the whole log; the input that caused it is kept in build-fuzz/.
      fuzz() {  # fuzz NAME SECONDS SEEDS
        local corpus log=build-fuzz/$1.log
        corpus=$(mktemp -d)
        if LUMIVEX_BACKEND=headless "build-fuzz/bin/$1" -max_total_time="$2" -timeout=1 \
          -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix=build-fuzz/ "$corpus" "$3" \
          >"$log" 2>&1; then
          tail -n 12 "$log"
          rm -rf "$corpus"
        else
          cat "$log"
          rm -rf "$corpus"
          return 1
        fi
      }
      seconds=${LUMIVEX_FUZZ_SECONDS:-60}
      fuzz api_fuzzer "$seconds" fuzz/corpus
      fuzz script_fuzzer "$((seconds / 4 + 1))" scripts/demos
      ;;
    *)
      echo "unknown test variant: $variant" >&2
      exit 2
      ;;
  esac
  echo "== $variant done in $(($(date +%s) - start)) s" >&2
done
