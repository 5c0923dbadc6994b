#!/usr/bin/env bash
# Builds and runs every benchmark, printing the figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
. "$root/scripts/chromium-env.sh"
export QT_QPA_PLATFORM=offscreen
for b in "$root"/build/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.5 "$@"
done
echo "== whole program"
"$root/bench/whole_program.sh"
