#!/usr/bin/env bash
# The suite installed the way Linux programs are: `cmake --install` into a
# folder of its own, then
#   1. the layout: suite folder, start commands, desktop entries (validated),
#      icons, AppStream metainfo (validated), man pages; each command answers
#      --version;
#   2. the installation made read-only: the installed varo-cli shows a .dat
#      file, the installed launcher (offscreen, driven through the varodrive
#      plugin) changes the language and starts Varo16, which comes up in that
#      language; the change is in $XDG_CONFIG_HOME/varo/ and nothing under the
#      installation has changed (compared file by file, so this holds for
#      root too, whom a missing write bit does not stop).
#
# usage: InstallTest.sh BUILD_DIR SOURCE_DIR PLUGIN_DIR ENTRY_SHEET
# With VARO_SCREENSHOT_DIR set, a picture of the installed desktop entries
# goes there as desktop-entries.png.
set -euo pipefail
build=$1
source=$2
plugins=$3
sheet=$4

work="$(mktemp -d "${TMPDIR:-/tmp}/varo-install.XXXXXX")"
prefix="$work/prefix"
driven=()
cleanup() {
  # Programs this test started and that are still running (the Varo16 the
  # launcher started, should it hang) end by their process ids.
  for pid in "${driven[@]}"; do kill "$pid" 2>/dev/null || true; done
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
}
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"

for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

# 1. Layout. program:command:desktop entry, as the packaging installs them;
# a program this build does not have is not installed at all.
for item in Varo:varo:org.varo.Varo Varo16:varo16:org.varo.Varo16 \
  Varo199V3:varo199v3:org.varo.Varo199V3 varo-cli:varo-cli: varo-radiosim:varo-radiosim:; do
  IFS=: read -r program command entry <<<"$item"
  if [ ! -e "$build/suite/$program" ]; then
    [ ! -e "$prefix/bin/$command" ] && [ ! -e "$prefix/lib/varo/$program" ] &&
      { [ -z "$entry" ] || [ ! -e "$prefix/share/applications/$entry.desktop" ]; } &&
      pass "$program is not built, so neither installed" || fail "$program installed without being built"
    continue
  fi
  [ -x "$prefix/lib/varo/$program" ] || fail "lib/varo/$program missing"
  [ -x "$prefix/bin/$command" ] || fail "bin/$command missing"
  answer="$(QT_QPA_PLATFORM=offscreen "$prefix/bin/$command" --version 2>&1)" || true
  [ "$answer" = "$program $version" ] && pass "$command --version: $answer" ||
    fail "$command --version answered \"$answer\""
  [ -z "$entry" ] && continue
  desktop="$prefix/share/applications/$entry.desktop"
  metainfo="$prefix/share/metainfo/$entry.metainfo.xml"
  if desktop-file-validate "$desktop" >"$work/validate.log" 2>&1; then
    pass "desktop-file-validate $entry.desktop"
  else
    cat "$work/validate.log" >&2
    fail "desktop-file-validate $entry.desktop"
  fi
  grep -qx "Exec=$command.*" "$desktop" && grep -qx "Icon=$entry" "$desktop" ||
    fail "$entry.desktop does not start $command with its icon"
  if appstreamcli validate --no-net "$metainfo" >"$work/validate.log" 2>&1; then
    pass "appstreamcli validate $entry.metainfo.xml"
  else
    cat "$work/validate.log" >&2
    fail "appstreamcli validate $entry.metainfo.xml"
  fi
  for size in 16 22 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$entry.png"
    # A PNG of that size: the signature, then the width and height of IHDR.
    header="$(od -An -tx1 -N24 "$icon" 2>/dev/null | tr -d ' \n')"
    [ "${header:0:16}" = "89504e470d0a1a0a" ] &&
      [ $((16#${header:32:8})) -eq "$size" ] && [ $((16#${header:40:8})) -eq "$size" ] ||
      fail "icon $icon is not a ${size}x${size} PNG"
  done
done
while IFS= read -r -d '' file; do
  cmp -s "$source/resources/suite/$file" "$prefix/lib/varo/$file" ||
    fail "lib/varo/$file differs from the delivered file"
done < <(cd "$source/resources/suite" && find . -type f -print0)
for page in varo-cli varo-radiosim; do
  gzip -t "$prefix/share/man/man1/$page.1.gz" 2>/dev/null && pass "man page $page(1)" ||
    fail "man page $page(1) missing"
done

# 2. Read-only installation, settings per user.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME"
chmod -R a-w "$prefix"
listing() {
  (cd "$prefix" && find . -printf '%p %y %m %s\n' | sort && find . -type f -exec md5sum {} + | sort)
}
listing >"$work/before"

# The demo memories installed with the documentation, shown by the installed tool.
if "$prefix/bin/varo-cli" show "$prefix/share/doc/varo/Demo16.dat" >"$work/show" 2>"$work/show.err" &&
  grep -q '^ 1  446.00625     446.00625     67.0' "$work/show" &&
  "$prefix/bin/varo-cli" show --tsv "$prefix/share/doc/varo/Demo199.dat" >"$work/show199" 2>>"$work/show.err" &&
  grep -q 'PMR-1' "$work/show199"; then
  pass "installed varo-cli show of both demo memories"
else
  cat "$work/show.err" >&2
  fail "installed varo-cli show of both demo memories"
fi

# The launcher in its installed language (English) switches to Chinese and
# starts Varo199V3 (the product preselected by the installed Varo.ini), which
# notes its window title and ends.
QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=varodrive \
  VARO_DRIVE_Varo="click:chineseBox;click:ok" \
  VARO_DRIVE_Varo199V3="wait:200;title:$work/programmer-title;quit" \
  timeout 60 "$prefix/bin/varo" >"$work/launcher.log" 2>&1 || fail "the launcher did not end by itself"
for _ in $(seq 300); do
  [ -s "$work/programmer-title" ] && break
  sleep 0.1
done
for _ in $(seq 100); do
  mapfile -t driven < <(pgrep -f "^$prefix/lib/varo/" || true)
  [ ${#driven[@]} -eq 0 ] && break
  sleep 0.1
done
[ ${#driven[@]} -eq 0 ] || fail "programs still running: ${driven[*]}"
if grep -q '写频软件' "$work/programmer-title" 2>/dev/null; then
  pass "Varo199V3 started from the installation in Chinese: $(cat "$work/programmer-title")"
else
  cat "$work/launcher.log" >&2
  fail "Varo199V3 did not come up in Chinese"
fi
own="$XDG_CONFIG_HOME/varo"
grep -qx 'Language=Chinese' "$own/Varo.ini" 2>/dev/null && grep -qx 'Default=3' "$own/Varo.ini" &&
  pass "the launcher's choice is in $own/Varo.ini" || fail "no language change in $own/Varo.ini"
grep -qx 'Language=Chinese' "$own/Varo199V3.ini" 2>/dev/null &&
  grep -qx 'AppName=Varo199V3' "$own/Varo199V3.ini" &&
  pass "Varo199V3.ini copied from the installed one with the change" ||
  fail "$own/Varo199V3.ini is not the installed file with the language"
grep -qx 'Language=English' "$prefix/lib/varo/Varo.ini" || fail "the installed Varo.ini changed"
listing >"$work/after"
if diff "$work/before" "$work/after" >"$work/diff"; then
  pass "nothing written under the installation"
else
  cat "$work/diff" >&2
  fail "the installation changed"
fi

if [ -n "${VARO_SCREENSHOT_DIR:-}" ]; then
  QT_QPA_PLATFORM=offscreen "$sheet" "$prefix" "$VARO_SCREENSHOT_DIR/desktop-entries.png" ||
    fail "the picture of the desktop entries"
fi

echo "install test: $failures failure(s)"
[ "$failures" -eq 0 ]
