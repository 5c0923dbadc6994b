#!/usr/bin/env bash
# Installs the built program into a fresh prefix and checks what a desktop finds there: the program,
# the desktop entry, the icon at every size and the metainfo, each valid by the desktop's own
# validators and consistent with each other.
#   check_install.sh BUILD_DIR APP_ID VERSION "ICON SIZES"
set -euo pipefail
build=$1 id=$2 version=$3 sizes=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/tessaro" ] || fail "bin/tessaro missing or not executable"
[ -x "$prefix/bin/tessaro-reader" ] || fail "bin/tessaro-reader missing or not executable"
[ -x "$prefix/bin/tessaro-sources" ] || fail "bin/tessaro-sources missing or not executable"

desktop=$prefix/share/applications/$id.desktop
if [ -f "$desktop" ]; then
  # Errors fail the validator; warnings are failures here too. Hints pass: Office and Education are
  # both main categories, on purpose.
  report=$(desktop-file-validate "$desktop") || fail "desktop-file-validate failed"
  echo "$report"
  grep -v ': hint: ' <<<"$report" | grep -q . && fail "desktop-file-validate warns"
  key() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
  [ "$(key Exec)" = tessaro ] || fail "Exec is '$(key Exec)', not the installed program"
  [ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)', not $id"
  case ";$(key Categories)" in *";Office;"*) ;; *) fail "Categories lack Office" ;; esac
  case ";$(key Categories)" in *";Education;"*) ;; *) fail "Categories lack Education" ;; esac
  # The name and the comment are Chinese: bytes outside ASCII, and a CJK ideograph among them.
  for k in Name Comment; do
    key "$k" | grep -qP '[\x{4e00}-\x{9fff}]' || fail "$k is not Chinese: '$(key "$k")'"
  done
else
  fail "no desktop entry $desktop"
fi

# PNG width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print ($1*16777216+$2*65536+$3*256+$4) "x" ($5*16777216+$6*65536+$7*256+$8)}'; }
for s in $sizes; do
  png=$prefix/share/icons/hicolor/${s}x${s}/apps/$id.png
  if [ -f "$png" ]; then
    [ "$(png_size "$png")" = "${s}x${s}" ] || fail "$png is $(png_size "$png"), not ${s}x${s}"
  else
    fail "no icon $png"
  fi
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" 2>/dev/null || fail "no scalable icon"

metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate failed"
  grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"" "$metainfo" ||
    fail "metainfo has no release $version with a date"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launches no $id.desktop"
  [ "$(grep -c '<image>' "$metainfo")" -ge 1 ] || fail "metainfo has no screenshot"
  grep -q '@[A-Z_]*@' "$metainfo" && fail "metainfo has unconfigured placeholders"
else
  fail "no metainfo $metainfo"
fi
# The tree as a whole: metainfo, desktop entry and icons that belong together.
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree failed"

if [ "$failures" -eq 0 ]; then
  echo "install tree: all checks passed"
else
  echo "install tree: $failures checks failed"
  exit 1
fi
