#!/usr/bin/env bash
# Runs every benchmark (library operations and program frames, each beside its floor in the same
# run) and the memory measurement, prints one table and writes it to bench/RESULTS.md.
# Takes a few minutes; run it on a quiet machine for figures worth comparing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${LUMIVEX_BENCH_BUILD:-build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVEX_BUILD_TESTS=OFF \
  -DLUMIVEX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
out="$build/bench-results"
rm -rf "$out" && mkdir -p "$out"
export LUMIVEX_BACKEND=headless
repetitions=${LUMIVEX_BENCH_REPETITIONS:-5}
for binary in "$build"/bench/*_bench; do
  name=$(basename "$binary")
  echo "running $name" >&2
  "$binary" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_min_time="${LUMIVEX_BENCH_MIN_TIME:-0.2}" \
    --benchmark_format=json --benchmark_out="$out/$name.json" >/dev/null
done
python3 scripts/bench_report.py "$build" "$out" bench/RESULTS.md
