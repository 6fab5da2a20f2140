#!/usr/bin/env bash
# Runs `pairwell -force` on the media users have, as far as this machine can imitate them:
# an exFAT stick (exfat-fuse on a loop device), a FUSE file system that answers every read
# short, and a power cut right after a run (the stick's image copied while it is mounted).
# Prints one PASS or FAIL line per check; exits 1 when a check failed.
#   tests/media/check-media.sh [BUILD]     (needs root, /dev/fuse and loop devices)
set -uo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build}")
pairwell=$build/bin/pairwell

if [ "$(id -u)" -ne 0 ] || [ ! -e /dev/fuse ] || ! losetup -f >/dev/null 2>&1; then
  echo "SKIP: needs root, /dev/fuse and a free loop device"
  exit 0
fi
need=()
for p in exfat-fuse exfatprogs fuse3 libfuse3-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null
fi
cmake -S . -B "$build" >/dev/null && cmake --build "$build" --target pairwell short-read-fs >/dev/null || exit 1

work=$(mktemp -d /tmp/pairwell-media.XXXXXX)
loops=()
cleanup() {
  for m in "$work"/mnt/*; do mountpoint -q "$m" && umount "$m"; done
  for l in "${loops[@]}"; do losetup -d "$l" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work"/{home,mnt/stick,mnt/snapshot,mnt/short,local,short-source}
failed=0
check() {  # name, then a command that succeeds when the check passes
  local name=$1
  shift
  if "$@"; then echo "PASS: $name"; else echo "FAIL: $name"; failed=1; fi
}

# Settings that pair `first` with `second` and remember `first`; then one unattended run.
sync_pair() {
  mkdir -p "$work/home/.config/Quillonsoft"
  printf '[Config]\nLastDir=%s\nDirCount=1\n[RefDir00]\nName=%s\nDirectory=%s\nFilter=*.*\nSubdirectories=1\n' \
    "$1" "$1" "$2" >"$work/home/.config/Quillonsoft/pairwell.ini"
  rm -f "$work/home/.config/Quillonsoft/pairwell.log"
  HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LC_ALL=C "$pairwell" -force
}
last_report() { cat "$work/home/.config/Quillonsoft/pairwell.log"; }

# Files with fractions of a second in their times, in two folders.
make_files() {
  mkdir -p "$1/sub"
  for i in $(seq 1 20); do
    head -c $((i * 7919)) /dev/urandom >"$1/f$i.bin"
    touch -d "2024-03-0$((i % 9 + 1)) 10:11:12.$i" "$1/f$i.bin"
  done
  head -c 1000000 /dev/urandom >"$1/sub/large.bin"
}

# An exFAT stick.
truncate -s 128M "$work/stick.img"
mkfs.exfat "$work/stick.img" >/dev/null
loops+=("$(losetup -f --show "$work/stick.img")")
mount.exfat-fuse "${loops[0]}" "$work/mnt/stick" >/dev/null 2>&1

# Every file copied to the stick arrives whole, with its time, and comes back unchanged.
make_files "$work/local/laptop"
mkdir "$work/mnt/stick/copy"
sync_pair "$work/local/laptop" "$work/mnt/stick/copy" >/dev/null
check "exFAT: contents arrive whole" diff -r "$work/local/laptop" "$work/mnt/stick/copy"
same_second() { [ "$(stat -c %Y "$1")" = "$(stat -c %Y "$2")" ]; }
check "exFAT: each copy has its source's time (to the second)" \
  same_second "$work/local/laptop/f7.bin" "$work/mnt/stick/copy/f7.bin"
sync_pair "$work/local/laptop" "$work/mnt/stick/copy" >/dev/null
check "exFAT: the next run has nothing to do" grep -q "^Nothing to do!" <(last_report)

# The stick ignores case: of two names that differ only in case, one arrives and the other is
# refused, never written over it.
mkdir -p "$work/local/cases" "$work/mnt/stick/cases"
echo edited >"$work/local/cases/Notes.txt"
echo other >"$work/local/cases/NOTES.txt"
sync_pair "$work/local/cases" "$work/mnt/stick/cases" >/dev/null
one_kept() {
  [ "$(find "$work/mnt/stick/cases" -type f | wc -l)" -eq 1 ] &&
    grep -q "^\* Not copied: " <(last_report)
}
check "exFAT: names that differ in case do not overwrite each other" one_kept

# A power cut right after a run: the image as the stick holds it at that moment. Every file
# is there whole, or missing with only a temporary file beside it; none is damaged.
make_files "$work/local/new"
mkdir "$work/mnt/stick/powercut"
sync_pair "$work/local/new" "$work/mnt/stick/powercut" >/dev/null
cp "$work/stick.img" "$work/snapshot.img"
loops+=("$(losetup -f --show "$work/snapshot.img")")
mount.exfat-fuse -o ro "${loops[1]}" "$work/mnt/snapshot" >/dev/null 2>&1
intact_or_missing() {
  local bad=0
  for f in $(cd "$work/local/new" && find . -type f); do
    [ -e "$work/mnt/snapshot/powercut/$f" ] || continue
    cmp -s "$work/local/new/$f" "$work/mnt/snapshot/powercut/$f" || bad=$((bad + 1))
  done
  echo "  after the cut: $(cd "$work/mnt/snapshot/powercut" && find . -type f ! -name '.~copy-*' | wc -l) of 21 files whole, $bad damaged"
  [ "$bad" -eq 0 ]
}
check "power cut: no file damaged" intact_or_missing

# A FUSE file system that answers every read with at most 100,000 bytes.
make_files "$work/short-source/data"
"$build/bin/short-read-fs" "$work/short-source" "$work/mnt/short" 100000
mkdir -p "$work/local/from-short"
sync_pair "$work/local/from-short" "$work/mnt/short/data" >/dev/null
check "short reads: every file read to its end" diff -r "$work/short-source/data" "$work/local/from-short"

exit $failed
