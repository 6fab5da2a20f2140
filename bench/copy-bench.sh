#!/usr/bin/env bash
# Times the copy engine against `cp -a` in one run: one 1 GiB file, and 20,000 small files
# (0 to 32 KiB) in 2,000 folders. The engine puts its copies on disk before they take their
# targets' places; `eatmydata` (which turns flushes into no-ops) shows what that costs, and
# `cp -a; sync` is cp with the same guarantee. Runs alternate; prints medians and ratios to cp.
#   bench/copy-bench.sh [runs]        (BUILD=build, WORK=bench/out/copy)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
build=${BUILD:-build}
work=${WORK:-bench/out/copy}

cmake --build "$build" --target generate-tree copy-tree >/dev/null
generate=$build/bin/generate-tree
engine=$build/bin/copy-tree

rm -rf "$work"
mkdir -p "$work"
echo "Generating trees in $work ..."
"$generate" --out "$work/small" --files 20000 --folders 2000 --min-size 0 --max-size 32K --seed 1
"$generate" --out "$work/big" --files 1 --folders 0 --min-size 1G --max-size 1G --seed 2
cat "$work/big/f0.dat" >/dev/null  # both tools start from a warm page cache

# Seconds taken by the command, with the target removed and earlier writes flushed first.
seconds() {
  rm -rf "$work/dst"
  mkdir -p "$work/dst"
  sync
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

report() {  # name, then the times of each tool
  local name=$1 cp times=()
  shift
  for t in "$@"; do times+=("$(echo "$t" | median)"); done
  cp=${times[2]}
  awk -v n="$name" -v e="${times[0]}" -v f="${times[1]}" -v c="$cp" -v s="${times[3]}" 'BEGIN {
    printf "%-26s %9.3f %9.3f %9.3f %9.3f   %5.2f %5.2f %5.2f\n", n, e, f, c, s, e / c, f / c, e / s }'
}

cp_and_sync() { cp -a "$@" && sync; }

declare -A times
for scenario in small big; do
  case $scenario in
    small) from=$work/small to=$work/dst/small ;;
    big) from=$work/big/f0.dat to=$work/dst/f0.dat ;;
  esac
  for ((i = 1; i <= runs; i++)); do
    times[$scenario-engine]+="$(seconds "$engine" "$from" "$to")"$'\n'
    times[$scenario-unflushed]+="$(seconds eatmydata "$engine" "$from" "$to")"$'\n'
    times[$scenario-cp]+="$(seconds cp -a "$from" "$to")"$'\n'
    times[$scenario-cpsync]+="$(seconds cp_and_sync "$from" "$to")"$'\n'
  done
done
rm -rf "$work/dst"

echo
echo "Median of $runs runs, seconds (engine: flushed before the rename; unflushed: the same"
echo "under eatmydata; cp+sync: cp -a followed by sync):"
printf "%-26s %9s %9s %9s %9s   %5s %5s %5s\n" scenario engine unflushed "cp -a" cp+sync \
  "e/cp" "u/cp" "e/c+s"
report "20,000 files, 2,000 dirs" "${times[small-engine]}" "${times[small-unflushed]}" \
  "${times[small-cp]}" "${times[small-cpsync]}"
report "one 1 GiB file" "${times[big-engine]}" "${times[big-unflushed]}" "${times[big-cp]}" \
  "${times[big-cpsync]}"
