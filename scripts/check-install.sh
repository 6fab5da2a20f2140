#!/usr/bin/env bash
# Checks what an installation puts on a machine: launchers, metainfo and manual pages valid,
# the Debian package built with everything in it, and the programs installed under a temporary
# prefix running from there, German included, and registering their context menus with
# themselves.
#   scripts/check-install.sh [BUILD]      (after scripts/test.sh has built BUILD)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

desktop-file-validate packaging/*.desktop
for file in packaging/*.metainfo.xml; do appstreamcli validate --no-net "$file"; done
for page in packaging/*.1; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then echo "$page: $warnings" >&2; exit 1; fi
done
echo "launchers, metainfo and manual pages: valid"

(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/pairwell-mirrowen_*.deb)
contents=$(dpkg-deb -c "$package" | awk '{ print $6 }')
for program in pairwell mirrowen; do
  id=example.quillonsoft.${program^}
  for path in usr/bin/$program usr/share/applications/$id.desktop \
              usr/share/metainfo/$id.metainfo.xml usr/share/man/man1/$program.1 \
              usr/share/icons/hicolor/scalable/apps/$program.svg \
              usr/share/icons/hicolor/16x16/apps/$program.png \
              usr/share/icons/hicolor/256x256/apps/$program.png; do
    grep -qx "./$path" <<<"$contents" || { echo "missing from the package: $path" >&2; exit 1; }
  done
done
for path in usr/share/pairwell-mirrowen/locale/de/LC_MESSAGES/default.mo \
            usr/share/systemd/user/pairwell-sync.service usr/share/systemd/user/pairwell-sync.timer \
            usr/share/doc/pairwell-mirrowen/README.md; do
  grep -qx "./$path" <<<"$contents" || { echo "missing from the package: $path" >&2; exit 1; }
done
dpkg-deb -f "$package" Depends | grep -q libqt6widgets6
echo "package: $(basename "$package") holds what it should"

# Installed under a prefix of its own, the program finds its catalogs there.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
"$work/prefix/bin/pairwell" --version
"$work/prefix/bin/mirrowen" --version
grep -q "ExecStart=$work/prefix/bin/pairwell -force" "$work/prefix/share/systemd/user/pairwell-sync.service"
mkdir -p "$work/A" "$work/B" "$work/home/.config/Quillonsoft"
echo content >"$work/A/file.txt"
printf '[Config]\nLastDir=%s\nDirCount=1\n[RefDir00]\nName=%s\nDirectory=%s\n' \
  "$work/A" "$work/A" "$work/B" >"$work/home/.config/Quillonsoft/pairwell.ini"
HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LC_ALL=C DISPLAY= WAYLAND_DISPLAY= \
  "$work/prefix/bin/pairwell" -force -lang:de
grep -q "^  Kopiert: file.txt" "$work/home/.config/Quillonsoft/pairwell.log"
cmp "$work/A/file.txt" "$work/B/file.txt"
echo "installed program: runs from its prefix, in German"

# The installed programs register the folder context menu with themselves and their installed
# icons: each started on a virtual display, its context button clicked (the buttons keep to the
# window's right edge) and the question answered Yes.
display=:$((80 + RANDOM % 19))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
registers_itself() {  # program, the beginning of its caption, its verb key
  HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
    LC_ALL=C QT_QPA_PLATFORM=xcb "$work/prefix/bin/$1" >/dev/null 2>&1 &
  local program=$!
  local window
  window=$(timeout 30 xdotool search --sync --name "^$2" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  sleep 1
  xdotool mousemove $((X + WIDTH - 82)) $((Y + 165)) click 1
  sleep 1
  xdotool key Return
  local record=$work/home/.local/share/pairwell-mirrowen/context-menu/$3.list
  for _ in $(seq 50); do [ -f "$record" ] && break; sleep 0.1; done
  kill -TERM $program
  wait $program || true
  [ -f "$record" ] || { echo "the installed $1 did not register its context menu" >&2; exit 1; }
  local actions=$work/home/.local/share/kio/servicemenus/$3.desktop
  grep -q "Exec=\"$work/prefix/bin/$1\" %f" "$actions"
  grep -q "Icon=$work/prefix/share/pairwell-mirrowen/icons/$1.png" "$actions"
  echo "installed $1: registers the folder context menu with itself"
}
registers_itself pairwell "Synchronize folders" Pairwell
registers_itself mirrowen "Synchronize folder " Tidewell
