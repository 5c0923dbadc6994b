#!/usr/bin/env bash
# Installs what is missing and builds the program, its tests and benchmarks in Release into build/.
# Source it or run it; fast when nothing changed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
if [ ! -f "$root/build/build.ninja" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$root/build"
