#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang into build-fuzz/ and runs it.
#   scripts/fuzz.sh [seconds [libFuzzer flags...]]   (default 600 seconds)
# Needs clang and its runtime libraries, which the normal build does not; they are installed here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
[ $# -gt 0 ] && shift
"$root/scripts/install-deps.sh" clang libclang-rt-14-dev
if [ ! -f "$root/build-fuzz/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSARO_BUILD_FUZZ=ON -DTESSARO_BUILD_TESTS=OFF -DTESSARO_BUILD_BENCH=OFF
fi
cmake --build "$root/build-fuzz" -j2 --target fuzz_rtf_reader
corpus="$root/build-fuzz/corpus"
mkdir -p "$corpus" "$root/build-fuzz/crashes"
cp -n "$root"/tests/data/*.rtf "$corpus"/
cd "$root/build-fuzz/crashes"
"$root/build-fuzz/fuzz/fuzz_rtf_reader" "$corpus" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=10 \
  -max_len=65536 -dict="$root/fuzz/rtf.dict" -print_final_stats=1 "$@"
