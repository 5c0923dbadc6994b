#!/usr/bin/env bash
# Whole-program figures under Xvfb: start-up to the main window shown, and the CPU time the idle
# program (its whole process tree, Chromium's processes included) spends over 10 seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/chromium-env.sh"
for p in xdotool xvfb; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
    { [ "$(id -u)" -eq 0 ] && apt-get install -y -qq --no-install-recommends "$p" >/dev/null; }
done
n=90
while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
display=:$n
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $prog $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
unset QT_QPA_PLATFORM # a real window on the virtual display
start=$(date +%s%N)
"$root/build/src/tessaro" >/dev/null 2>&1 &
prog=$!
for _ in $(seq 3000); do
  xdotool search --onlyvisible --name 'Tessaro V2016' >/dev/null 2>&1 && break
  sleep 0.01
done
xdotool search --onlyvisible --name 'Tessaro V2016' >/dev/null 2>&1 || { echo "the window did not show"; exit 1; }
shown=$(date +%s%N)
echo "start-up to window shown: $(( (shown - start) / 1000000 )) ms"

sleep 3 # let Chromium finish its own start-up work
tree_ticks() {
  local total=0 pid
  for pid in $prog $(pgrep -P $prog) $(for c in $(pgrep -P $prog); do pgrep -P $c; done); do
    [ -r /proc/$pid/stat ] || continue
    set -- $(sed 's/^.*) //' /proc/$pid/stat)
    total=$(( total + ${12} + ${13} ))
  done
  echo $total
}
hz=$(getconf CLK_TCK)
t0=$(tree_ticks)
sleep 10
t1=$(tree_ticks)
echo "idle over 10 s: $(( (t1 - t0) * 1000 / hz )) ms CPU, $(awk "BEGIN{printf \"%.2f\", ($t1-$t0)/$hz/10*100}") % of one core"
echo "peak memory (main process): $(grep VmHWM /proc/$prog/status | awk '{print $2, $3}')"
