#!/usr/bin/env bash
# Makes the README's pictures again (docs/screenshots/*.png): the program's real windows under Xvfb,
# with openbox for the title bars, the search services replaced by a loopback stand-in that serves
# made-up result pages. Nothing leaves the machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
# The window manager and its helper are needed for the pictures only, so they are installed here.
"$root/scripts/install-deps.sh" openbox x11-utils
. "$root/scripts/chromium-env.sh"
out="$root/docs/screenshots"
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x900x24 -dpi 96" bash -c '
  openbox --config-file /dev/null >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done
  "$1" "$2"; status=$?
  kill "$wm"
  exit $status' _ "$root/build/tools/screenshots/tessaro_screenshots" "$out"
