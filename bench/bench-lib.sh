# Shared by the benchmark scripts: timing a tool with its peak memory, medians.
# A tool is a shell function tool_NAME taking two folders.

# Runs tool_$1 on the folders $2 and $3 and appends "seconds peak-KiB" to the file $4. A tool
# that reports a failure is noted; the run goes on.
measure() {
  local tool=$1 a=$2 b=$3 out=$4
  sync
  if ! /usr/bin/time -f "%e %M" -o "$out.t" bash -c "tool_$tool \"\$0\" \"\$1\"" "$a" "$b"; then
    echo "   $tool reported a failure on $(basename "$out")" >&2
  fi
  grep -v '^Command' "$out.t" >>"$out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
peak_mb() { sort -n | tail -n 1 | awk '{ printf "%.0f", $1 / 1024 }'; }
reset_folder() { rm -rf "$1" && mkdir -p "$1"; }
