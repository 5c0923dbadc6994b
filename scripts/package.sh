#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/tessaro_VERSION_ARCH.deb.
# Install it with: sudo apt-get install ./build/tessaro_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/build"
cpack -G DEB
ls "$root"/build/tessaro_*.deb
