#!/usr/bin/env bash
# Times Mirrowen's one-way run (the mirror-trees driver: Mirrowen has no unattended mode)
# against `rsync -rtu src/ dst/` and unison made one-way (`-force` the source; it would also
# delete what the destination has more, which these trees never have), in one run, on the same
# generated trees: several runs each, medians, ratios and peak memory.
#   bench/mirror-bench.sh [small|large|all] [runs]     (BUILD=build, WORK=bench/out/mirror)
# Scenarios: initial (the destination empty), no-op, 1 % of the source changed, the same with
# "Replace only existing files" against rsync --existing, and four files of 256 MiB (with
# cp -a, and cp -a followed by a sync, for reference).
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=${1:-small}
runs=${2:-5}
build=${BUILD:-build}
work=${WORK:-bench/out/mirror}
mkdir -p "$work"
work=$(cd "$work" && pwd)
[ "$sizes" = all ] && sizes="small large"

cmake --build "$build" --target generate-tree mirror-trees >/dev/null
generate=$build/bin/generate-tree
export UNISON  # unison keeps its archives in the work folder, not in the user's home

tool_mirrowen() { "$build/bin/mirror-trees" "$1" "$2" >/dev/null; }
tool_mirrowen_existing() { "$build/bin/mirror-trees" "$1" "$2" --existing >/dev/null; }
tool_rsync() { rsync -rtu "$1/" "$2/"; }
tool_unison() { unison "$1" "$2" -batch -times -auto -silent -force "$1" >/dev/null 2>&1; }
tool_rsync_existing() { rsync -rtu --existing "$1/" "$2/"; }
tool_cp() { cp -a "$1/." "$2/"; }
# Mirrowen's copies are on the disk when it ends; cp's only once the file system is synced.
tool_cp_sync() { cp -a "$1/." "$2/" && sync -f "$2"; }
export -f tool_mirrowen tool_mirrowen_existing tool_rsync tool_rsync_existing tool_unison tool_cp \
  tool_cp_sync
export build

source bench/bench-lib.sh

results=$work/results
mkdir -p "$results"
for size in $sizes; do rm -f "$results/$size"-*; done

# Each tool gets its own source and destination, made from the same generated content. The
# scenario of only existing files has no unison counterpart.
tools="mirrowen rsync unison"
run_scenarios() {
  local size=$1 files=$2 folders=$3 tool r
  local root=$work/$size
  echo "== $size: generating $files files in $folders folders"
  mkdir -p "$root"
  "$generate" --out "$root/source" --files "$files" --folders "$folders" --min-size 0 --max-size 32K --seed 1
  "$generate" --out "$root/big" --files 4 --folders 0 --min-size 256M --max-size 256M --seed 2
  for tool in $tools; do cp -a "$root/source" "$root/$tool-src"; done
  rm -rf "$root/source"

  echo "== $size: initial"
  for ((r = 1; r <= runs; r++)); do
    for tool in $tools; do
      reset_folder "$root/$tool-dst"
      UNISON=$work/unison-$tool && reset_folder "$UNISON"
      measure "$tool" "$root/$tool-src" "$root/$tool-dst" "$results/$size-initial-$tool"
    done
  done

  echo "== $size: no-op"
  for ((r = 1; r <= runs; r++)); do
    for tool in $tools; do
      UNISON=$work/unison-$tool  # unison's archive of its last run is in place
      measure "$tool" "$root/$tool-src" "$root/$tool-dst" "$results/$size-noop-$tool"
    done
  done

  echo "== $size: 1 % of the source changed"
  for ((r = 1; r <= runs; r++)); do
    for tool in $tools; do
      "$generate" --out "$root/$tool-src" --touch 1 --parity 0 --seed $((r * 10 + 1)) >/dev/null
    done
    sleep 1  # changed files are newer than their copies by more than a millisecond
    for tool in $tools; do
      UNISON=$work/unison-$tool
      measure "$tool" "$root/$tool-src" "$root/$tool-dst" "$results/$size-changed-$tool"
    done
  done

  echo "== $size: 1 % changed, only existing files replaced"
  for ((r = 1; r <= runs; r++)); do
    for tool in mirrowen rsync; do
      "$generate" --out "$root/$tool-src" --touch 1 --parity 1 --seed $((r * 10 + 2)) >/dev/null
    done
    sleep 1
    for tool in mirrowen rsync; do
      measure "${tool}_existing" "$root/$tool-src" "$root/$tool-dst" \
        "$results/$size-existing-$tool"
    done
  done
  for tool in $tools; do rm -rf "$root/$tool-src" "$root/$tool-dst" "$work/unison-$tool"; done

  echo "== $size: four files of 256 MiB"
  for ((r = 1; r <= runs; r++)); do
    for tool in $tools cp cp_sync; do
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
echo "Median seconds of $runs runs; ratios = Mirrowen / rsync and / unison; peak memory in MB"
printf "%-16s %9s %9s %9s %8s %8s %7s %7s %7s\n" scenario mirrowen rsync unison "/rsync" \
  "/unison" "mw MB" "rs MB" "un MB"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print (b > 0 ? a / b : 0) }'; }
for file in "$results"/*-mirrowen; do
  name=$(basename "$file" -mirrowen)
  mw=$(cut -d' ' -f1 "$file" | median)
  rs=$(cut -d' ' -f1 "$results/$name-rsync" | median)
  un=0 un_mb=-
  if [ -f "$results/$name-unison" ]; then
    un=$(cut -d' ' -f1 "$results/$name-unison" | median)
    un_mb=$(cut -d' ' -f2 "$results/$name-unison" | peak_mb)
  fi
  printf "%-16s %9.2f %9.2f %9.2f %8.2f %8.2f %7s %7s %7s\n" "$name" "$mw" "$rs" "$un" \
    "$(ratio "$mw" "$rs")" "$(ratio "$mw" "$un")" "$(cut -d' ' -f2 "$file" | peak_mb)" \
    "$(cut -d' ' -f2 "$results/$name-rsync" | peak_mb)" "$un_mb"
  if [ -f "$results/$name-cp" ]; then
    cp_time=$(cut -d' ' -f1 "$results/$name-cp" | median)
    printf "%-16s cp -a %.2f s: Mirrowen reaches %.2f of cp's throughput\n" "" "$cp_time" \
      "$(awk -v a="$mw" -v c="$cp_time" 'BEGIN { print (a > 0 ? c / a : 0) }')"
    cp_time=$(cut -d' ' -f1 "$results/$name-cp_sync" | median)
    printf "%-16s cp -a; sync %.2f s: Mirrowen reaches %.2f of its throughput\n" "" "$cp_time" \
      "$(awk -v a="$mw" -v c="$cp_time" 'BEGIN { print (a > 0 ? c / a : 0) }')"
  fi
done
