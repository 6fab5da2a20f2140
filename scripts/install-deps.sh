#!/usr/bin/env bash
# Installs every Debian package needed to build, test and benchmark both programs.
# Does nothing when all of them are already present.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkgconf          # compiler and build
  qt6-base-dev qt6-base-dev-tools        # Qt 6 Core, Gui, Widgets, Test
  qt6-translations-l10n                  # Qt's own texts (edit-field menus) in German
  gettext                                # msgfmt for the message catalogs
  libgtest-dev libgmock-dev              # GoogleTest
  clang-format                           # the project's code style
  xvfb xauth fonts-dejavu-core           # window tests (they measure text) and screenshots
  xdg-utils desktop-file-utils           # the context-menu test asks which program opens folders
  rsync unison time eatmydata            # peers, peak-memory timing and unflushed runs for the benchmarks
  desktop-file-utils appstream man-db    # checks of the launchers, metainfo and manual pages
  dpkg-dev file xdotool                  # the Debian package, and its program clicked on a virtual display
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
