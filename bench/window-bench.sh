#!/usr/bin/env bash
# Times Pairwell's window against what users do with it: settings files with many folder pairs
# (the window reads them when it opens and writes them when it closes), and a run from the Start
# button against `pairwell -force` on the same trees.
#   bench/window-bench.sh [settings|run|all] [runs]     (BUILD=build, WORK=bench/out/window)
# settings: 1,000 and 10,000 pairs, and a 48 MB file (10,000 pairs and a large foreign section).
# run: 20,000 files of 0 to 32 KiB in 2,000 folders copied into an empty folder, the window's run
# (the Start button's click, and the whole program) against pairwell -force.
# Uses the offscreen platform unless DISPLAY is set (run it under Xvfb to include painting).
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
runs=${2:-3}
build=${BUILD:-build}
work=${WORK:-bench/out/window}
mkdir -p "$work"
work=$(cd "$work" && pwd)

cmake --build "$build" --target generate-tree window-bench pairwell catalogs >/dev/null

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# A settings file with $2 folder pairs, and $3 MB of a section the program does not know.
write_settings() {
  local file=$1 pairs=$2 padding=$3
  mkdir -p "$(dirname "$file")"
  awk -v n="$pairs" -v mb="$padding" 'BEGIN {
    printf "[Config]\nTop=100\nLeft=100\nHeight=434\nWidth=601\nLastDir=/data/pair-00000\nDirCount=%d\n", n
    for (i = 0; i < n; i++) {
      printf "[RefDir%02d]\nName=/data/pair-%05d\nDirectory=/media/stick/backup/pair-%05d\n", i, i, i
      printf "Filter=*.txt;*.doc\nSubdirectories=1\nDuplicates=0\n"
    }
    if (mb > 0) {
      printf "[Notes]\n"
      for (i = 0; i < mb * 1024 * 1024 / 64; i++) printf "Note%07d=%052d\n", i, i
    }
  }' >"$file"
}

if [ "$what" = settings ] || [ "$what" = all ]; then
  echo "== settings: seconds to open (read) and to close (write) the window; peak MB"
  printf "%-22s %8s %8s %8s\n" file load save "peak MB"
  for sizes in "1000 0" "10000 0" "10000 47"; do
    set -- $sizes
    home=$work/settings-home
    rm -rf "$home"
    write_settings "$home/.config/Quillonsoft/pairwell.ini" "$1" "$2"
    size=$(du -m "$home/.config/Quillonsoft/pairwell.ini" | cut -f1)
    loads=() saves=() peak=0
    for ((r = 1; r <= runs; r++)); do
      write_settings "$home/.config/Quillonsoft/pairwell.ini" "$1" "$2"
      out=$("$build/bin/window-bench" settings --home "$home")
      loads+=("$(awk '$1 == "load" { print $2 }' <<<"$out")")
      saves+=("$(awk '$1 == "save" { print $2 }' <<<"$out")")
      peak=$(awk '$1 == "save" { print $3 }' <<<"$out")
    done
    printf "%-22s %8.2f %8.2f %8s\n" "$1 pairs, $size MB" \
      "$(printf '%s\n' "${loads[@]}" | median)" "$(printf '%s\n' "${saves[@]}" | median)" "$peak"
  done
fi

if [ "$what" = run ] || [ "$what" = all ]; then
  root=$work/trees
  rm -rf "$root" && mkdir -p "$root"
  echo "== run: generating 20,000 files in 2,000 folders"
  "$build/bin/generate-tree" --out "$root/source" --files 20000 --folders 2000 --min-size 0 \
    --max-size 32K --seed 1 >/dev/null
  home=$work/run-home
  config=$home/.config/Quillonsoft
  prepare() {
    rm -rf "$root/a" "$root/b" "$home" && cp -a "$root/source" "$root/a" && mkdir -p "$root/b" "$config"
    printf '[Config]\nLastDir=%s\nDirCount=1\n[RefDir00]\nName=%s\nDirectory=%s\n' \
      "$root/a" "$root/a" "$root/b" >"$config/pairwell.ini"
    sync
  }
  clicks=() windows=() forces=()
  for ((r = 1; r <= runs; r++)); do
    prepare
    /usr/bin/time -f "%e" -o "$work/time" "$build/bin/window-bench" run --home "$home" >"$work/out"
    clicks+=("$(awk '$1 == "run" { print $2 }' "$work/out")")
    windows+=("$(cat "$work/time")")
    [ "$(find "$root/b" -type f | wc -l)" -eq 20000 ] || echo "   the window's run did not copy every file" >&2
    prepare
    /usr/bin/time -f "%e" -o "$work/time" env HOME="$home" XDG_CONFIG_HOME="$home/.config" \
      DISPLAY= WAYLAND_DISPLAY= "$build/bin/pairwell" -force >/dev/null
    forces+=("$(cat "$work/time")")
    [ "$(find "$root/b" -type f | wc -l)" -eq 20000 ] || echo "   pairwell -force did not copy every file" >&2
  done
  rm -rf "$root" "$home"
  click=$(printf '%s\n' "${clicks[@]}" | median)
  window=$(printf '%s\n' "${windows[@]}" | median)
  force=$(printf '%s\n' "${forces[@]}" | median)
  echo "Median seconds of $runs runs, 20,000 files copied"
  printf "window, Start click   %6.2f   (%.2f x pairwell -force)\n" "$click" \
    "$(awk -v a="$click" -v b="$force" 'BEGIN { print a / b }')"
  printf "window, whole program %6.2f   (%.2f x pairwell -force)\n" "$window" \
    "$(awk -v a="$window" -v b="$force" 'BEGIN { print a / b }')"
  printf "pairwell -force       %6.2f\n" "$force"
fi
