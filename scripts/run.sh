#!/usr/bin/env bash
# Builds Lumivex and runs a program (the fern unless another is named). With a display it opens a
# real window; without one it runs headless through the program's demo script and prints the PNG
# it saved.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
program=${1:-fern}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target "$program"
# A display counts when a window can be opened on it, not merely when DISPLAY is set.
display_reachable() {
  [ "${LUMIVEX_BACKEND:-}" = headless ] && return 1
  if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then return 0; fi
  [ -n "${WAYLAND_DISPLAY:-}" ]
}
if display_reachable; then
  exec build/bin/"$program"
fi
out=${LUMIVEX_OUT:-out}
mkdir -p "$out"
script=scripts/demos/$program.script
if [ ! -f "$script" ]; then
  echo "run.sh: no display, and $program has no demo script ($script) to run it headless" >&2
  exit 1
fi
sed "s|@OUT@|$out|g" "$script" > "$out/$program.script"
# A program that reads its choices from standard input has them in a .input file beside its script.
input=scripts/demos/$program.input
[ -f "$input" ] || input=/dev/null
LUMIVEX_BACKEND=headless LUMIVEX_SCRIPT="$out/$program.script" LUMIVEX_TICKS=${LUMIVEX_TICKS:-2026} \
  build/bin/"$program" < "$input"
ls "$out"/"$program"*.png
