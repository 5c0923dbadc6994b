#!/usr/bin/env bash
# Installs what is missing, builds the program alone (no tests, no benchmarks) into build-run/, and
# starts Tessaro. scripts/test.sh builds and runs the tests in build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build="$root/build-run"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTESSARO_BUILD_TESTS=OFF -DTESSARO_BUILD_BENCH=OFF
fi
cmake --build "$build" --target tessaro
. "$root/scripts/chromium-env.sh"
exec "$build/src/tessaro" "$@"
