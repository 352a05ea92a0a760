#!/usr/bin/env bash
# Runs scripts/gallery.sh on the programs built in BIN, writing into OUT (never docs/gallery), and
# checks that it made a PNG for every program.
set -euo pipefail
root=$1 bin=$2 out=$3
rm -rf "$out"
"$root/scripts/gallery.sh" --bin "$bin" --out "$out"
status=0
for program in "$bin"/*; do
  picture=$out/$(basename "$program").png
  if [ "$(head -c 4 "$picture" 2>/dev/null | tail -c 3)" != PNG ]; then
    echo "FAILED: no picture $picture" >&2
    status=1
  fi
done
exit $status
