#!/usr/bin/env bash
# Times Pairwell (pairwell -force) against rsync (both ways) and unison, in one run, on the same
# generated trees: several runs each, medians, ratios to each peer and peak memory.
#   bench/sync-bench.sh [small|large|all] [runs]     (BUILD=build, WORK=bench/out/sync)
# small: 20,000 files of 0 to 32 KiB in 2,000 folders; large: 200,000 files in 20,000 folders.
# Scenarios: initial (one side full, the other empty), no-op (both equal), 1 % of the files
# changed on each side, and four files of 256 MiB on one side (with cp -a for reference).
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=${1:-small}
runs=${2:-5}
build=${BUILD:-build}
work=${WORK:-bench/out/sync}
mkdir -p "$work"
work=$(cd "$work" && pwd)
[ "$sizes" = all ] && sizes="small large"

cmake --build "$build" --target generate-tree pairwell catalogs >/dev/null
generate=$build/bin/generate-tree
export UNISON  # unison keeps its archives in the work folder, not in the user's home

# The tools under test, each given the two folders. Pairwell runs unattended as a scheduler
# starts it: the pair is its remembered folder's entry in a settings folder of its own.
tool_pairwell() {
  local config=$work/pairwell-home/.config/Quillonsoft
  mkdir -p "$config"
  printf '[Config]\nLastDir=%s\nDirCount=1\n[RefDir00]\nName=%s\nDirectory=%s\n' "$1" "$1" "$2" \
    >"$config/pairwell.ini"
  HOME=$work/pairwell-home XDG_CONFIG_HOME=$work/pairwell-home/.config DISPLAY= WAYLAND_DISPLAY= \
    "$build/bin/pairwell" -force >/dev/null
}
tool_rsync() { rsync -rtu "$1/" "$2/" && rsync -rtu "$2/" "$1/"; }
tool_unison() { unison "$1" "$2" -batch -times -auto -silent >/dev/null 2>&1; }
tool_cp() { cp -a "$1/." "$2/"; }
export -f tool_pairwell tool_rsync tool_unison tool_cp
export build work

source bench/bench-lib.sh

results=$work/results
mkdir -p "$results"
for size in $sizes; do rm -f "$results/$size"-*; done


# Each tool works on its own pair of trees (and unison on its own archive), made from the same
# generated content, so that no tool sees what another one did.
tools="pairwell rsync unison"
run_scenarios() {
  local size=$1 files=$2 folders=$3 tool r
  local root=$work/$size
  echo "== $size: generating $files files in $folders folders"
  mkdir -p "$root"
  "$generate" --out "$root/source" --files "$files" --folders "$folders" --min-size 0 --max-size 32K --seed 1
  "$generate" --out "$root/big" --files 4 --folders 0 --min-size 256M --max-size 256M --seed 2
  for tool in $tools; do cp -a "$root/source" "$root/$tool-a"; done
  rm -rf "$root/source"

  echo "== $size: initial"
  for ((r = 1; r <= runs; r++)); do
    for tool in $tools; do
      reset_folder "$root/$tool-b"
      UNISON=$work/unison-$tool && reset_folder "$UNISON"
      measure "$tool" "$root/$tool-a" "$root/$tool-b" "$results/$size-initial-$tool"
    done
  done

  echo "== $size: no-op"
  for ((r = 1; r <= runs; r++)); do
    for tool in $tools; do
      UNISON=$work/unison-$tool  # unison's archive of its last run is in place
      measure "$tool" "$root/$tool-a" "$root/$tool-b" "$results/$size-noop-$tool"
    done
  done

  echo "== $size: 1 % changed on each side"
  for ((r = 1; r <= runs; r++)); do
    for tool in $tools; do
      "$generate" --out "$root/$tool-a" --touch 1 --parity 0 --seed $((r * 10 + 1)) >/dev/null
      "$generate" --out "$root/$tool-b" --touch 1 --parity 1 --seed $((r * 10 + 2)) >/dev/null
    done
    sleep 1  # changed files are newer than their counterparts by more than a millisecond
    for tool in $tools; do
      UNISON=$work/unison-$tool
      measure "$tool" "$root/$tool-a" "$root/$tool-b" "$results/$size-changed-$tool"
    done
  done
  for tool in $tools; do rm -rf "$root/$tool-a" "$root/$tool-b"; done

  echo "== $size: four files of 256 MiB"
  for ((r = 1; r <= runs; r++)); do
    for tool in $tools cp; do
      reset_folder "$root/bigcopy"
      UNISON=$work/unison-big && reset_folder "$UNISON"
      measure "$tool" "$root/big" "$root/bigcopy" "$results/$size-large-$tool"
    done
  done
  rm -rf "$root"
}

for size in $sizes; do
  case $size in
    small) run_scenarios small 20000 2000 ;;
    large) run_scenarios large 200000 20000 ;;
    *) echo "unknown size $size" >&2; exit 2 ;;
  esac
done

echo
echo "Median seconds of $runs runs; ratio = Pairwell / peer; peak memory in MB"
printf "%-16s %9s %9s %9s %8s %8s %7s %7s %7s\n" scenario pairwell rsync unison "/rsync" "/unison" "pw MB" "rs MB" "un MB"
for file in "$results"/*-pairwell; do
  name=$(basename "$file" -pairwell)
  pw=$(cut -d' ' -f1 "$file" | median)
  rs=$(cut -d' ' -f1 "$results/$name-rsync" | median)
  un=$(cut -d' ' -f1 "$results/$name-unison" | median)
  printf "%-16s %9.2f %9.2f %9.2f %8.2f %8.2f %7s %7s %7s\n" "$name" "$pw" "$rs" "$un" \
    "$(awk -v a="$pw" -v b="$rs" 'BEGIN { print (b > 0 ? a / b : 0) }')" \
    "$(awk -v a="$pw" -v b="$un" 'BEGIN { print (b > 0 ? a / b : 0) }')" \
    "$(cut -d' ' -f2 "$file" | peak_mb)" "$(cut -d' ' -f2 "$results/$name-rsync" | peak_mb)" \
    "$(cut -d' ' -f2 "$results/$name-unison" | peak_mb)"
  if [ -f "$results/$name-cp" ]; then
    cp_time=$(cut -d' ' -f1 "$results/$name-cp" | median)
    printf "%-16s %9s cp -a %.2f s: Pairwell reaches %.2f of cp's throughput\n" "" "" "$cp_time" \
      "$(awk -v a="$pw" -v c="$cp_time" 'BEGIN { print (a > 0 ? c / a : 0) }')"
  fi
done
