#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
. "$root/scripts/chromium-env.sh"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
# Six at once on two cores: the window tests mostly wait for Chromium and LibreOffice.
ctest --output-on-failure -j6 "$@"
