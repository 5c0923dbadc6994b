#!/usr/bin/env bash
# Renders the program's icon (data/icons/tessaro.svg) to the PNG sizes a desktop needs. The PNGs are
# committed, so the build needs no SVG renderer; run this again after changing the SVG.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
command -v rsvg-convert >/dev/null || { echo "rsvg-convert missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256 512; do
  rsvg-convert -w "$size" -h "$size" "$root/data/icons/tessaro.svg" -o "$root/data/icons/tessaro-$size.png"
done
