#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tessaro.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
. "$root/scripts/chromium-env.sh"
exec "$root/build/src/tessaro" "$@"
