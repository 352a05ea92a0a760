#!/usr/bin/env bash
# Makes the gallery: runs every program headless through its demo script
# (scripts/demos/NAME.script, with NAME.input on standard input where there is one) with a fixed
# tick count, and writes one small PNG a program into docs/gallery/.
#
#   scripts/gallery.sh                 build, then write docs/gallery/NAME.png
#   scripts/gallery.sh --bin DIR --out DIR
#                                      use the programs already built in DIR, write elsewhere
#
# LUMIVEX_SCREEN sets the headless screen (plasma_family fills it); ImageMagick makes the
# thumbnails (scripts/setup.sh installs it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bin=""
out=$root/docs/gallery
while [ $# -gt 0 ]; do
  case $1 in
    --bin) bin=$(cd "$2" && pwd); shift 2 ;;
    --out) mkdir -p "$2"; out=$(cd "$2" && pwd); shift 2 ;;
    *) echo "usage: $0 [--bin DIR] [--out DIR]" >&2; exit 2 ;;
  esac
done

if ! convert -version 2>/dev/null | grep ImageMagick >/dev/null || ! command -v montage >/dev/null; then
  echo "gallery.sh: ImageMagick is needed (scripts/setup.sh installs it)" >&2
  exit 1
fi

# The programs: every folder of programs/ but the shared ones.
programs=()
for dir in "$root"/programs/*/; do
  name=$(basename "$dir")
  [ -f "$dir/CMakeLists.txt" ] && [ "$name" != noise ] && [ "$name" != trees ] && programs+=("$name")
done

if [ -z "$bin" ]; then
  "$root"/scripts/setup.sh
  cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
  cmake --build "$root/build" -j "$(nproc)" --target "${programs[@]}"
  bin=$root/build/bin
fi

mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/lumivex-gallery.XXXXXX")
trap 'rm -rf "$work"' EXIT

# All programs at once: most of the time goes to the effects' timed waits.
declare -A pids
for name in "${programs[@]}"; do
  script=$root/scripts/demos/$name.script
  [ -f "$script" ] || { echo "gallery.sh: $name has no demo script ($script)" >&2; exit 1; }
  input=$root/scripts/demos/$name.input
  [ -f "$input" ] || input=/dev/null
  sed "s|@OUT@|$work|g" "$script" > "$work/$name.script"
  LUMIVEX_BACKEND=headless LUMIVEX_SCRIPT="$work/$name.script" LUMIVEX_TICKS=2026 \
    timeout 180 "$bin/$name" < "$input" > "$work/$name.log" 2>&1 &
  pids[$name]=$!
done
failed=0
for name in "${programs[@]}"; do
  if ! wait "${pids[$name]}"; then
    echo "gallery.sh: $name failed; its output:" >&2
    cat "$work/$name.log" >&2
    failed=1
  fi
done
[ $failed -eq 0 ] || exit 1

# The shot that shows each program, where it is not NAME.png.
declare -A shot=(
  [blossom_trees]=blossom_trees_2.png
  [mandelbrot_explorer]=mandelbrot_explorer_zoomed.png
  [perlin_textures]=perlin_textures-row60.png
  [windy_trees]=windy_trees_frame20.png
  [woggle]=woggle_1.png
)
# Each picture 320 pixels wide (the effects: all eight in a grid) in at most 256 colours, without
# time stamps, so that a program that draws the same picture again gives the same file (the
# effects run for a time, so theirs differs from run to run).
for name in "${programs[@]}"; do
  if [ "$name" = effects ]; then
    montage "$work"/effects_[1-8].png -tile 4x2 -geometry 160x120+1+1 -background '#404040' \
      "$work/effects-grid.png"
    resize=("$work/effects-grid.png")
  else
    resize=("$work/${shot[$name]:-$name.png}" -filter Box -resize 320x)
  fi
  convert "${resize[@]}" -strip -define png:exclude-chunks=date,time +dither -colors 256 \
    "PNG8:$out/$name.png"
done
du -ch "$out"/*.png | tail -1 | sed "s|total|in $out|"
