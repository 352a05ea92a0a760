#!/usr/bin/env bash
# Builds Lumivex and runs the whole test suite: a release build, then the same suite built with
# AddressSanitizer + UndefinedBehaviorSanitizer and with ThreadSanitizer, then a bounded run of
# the API fuzzer (libFuzzer, with clang) from its seed corpus. LUMIVEX_TEST_VARIANTS picks a
# subset ("release asan tsan fuzz" by default); LUMIVEX_FUZZ_SECONDS sets the fuzzing time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
variants=${LUMIVEX_TEST_VARIANTS:-release asan tsan fuzz}
jobs=$(nproc)

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
      configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
      cmake --build build -j "$jobs"
      ctest --test-dir build --output-on-failure -j "$jobs"
      ;;
    asan | tsan)
      sanitize=$([ "$variant" = asan ] && echo address || echo thread)
      configure "build-$variant" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVEX_SANITIZE="$sanitize" \
        -DLUMIVEX_BUILD_BENCH=OFF
      cmake --build "build-$variant" -j "$jobs"
      ctest --test-dir "build-$variant" --output-on-failure -j "$jobs"
      ;;
    fuzz)
      CXX=clang++ configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVEX_FUZZ=ON \
        -DLUMIVEX_SANITIZE=address -DLUMIVEX_BUILD_TESTS=OFF -DLUMIVEX_BUILD_BENCH=OFF
      cmake --build build-fuzz -j "$jobs" --target api_fuzzer
      corpus=$(mktemp -d)
      # No crash, no leak, no unit slower than a second (runaway rasterising) in the time given.
      LUMIVEX_BACKEND=headless build-fuzz/bin/api_fuzzer -max_total_time="${LUMIVEX_FUZZ_SECONDS:-60}" \
        -timeout=1 -rss_limit_mb=4096 -print_final_stats=1 "$corpus" fuzz/corpus 2>&1 | tail -n 12
      rm -rf "$corpus"
      ;;
    *)
      echo "unknown test variant: $variant" >&2
      exit 2
      ;;
  esac
  echo "== $variant done in $(($(date +%s) - start)) s" >&2
done
