#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
. "$root/scripts/chromium-env.sh"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
# Four at once on two cores: the LibreOffice tests mostly wait.
ctest --output-on-failure -j4 "$@"
