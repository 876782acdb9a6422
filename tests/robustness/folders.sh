#!/bin/sh
# Runs the awkward-folders test with a folder that really refuses writes.
#   folders.sh WORK GAME_EXE PIXELHEM_EXE WINMM_DLL COMMAND [ARGS...]
# As root, Wine would write into a folder whose write bits are cleared, so the folder is
# made read-only below the permission bits: a read-only bind mount of a prepared folder
# (writes fail with EROFS), or, where mounting is not allowed, an immutable folder
# (chattr +i: no entry can be created, renamed or removed in it). The programs are copied
# in beforehand; COMMAND gets --readonly=<folder> and --readonly-how=<which of the two>.
set -u
work=$1
game=$2
pixelhem=$3
winmm=$4
shift 4

source=$work/readonly-source
target=$work/readonly
cleanup() {
  if [ -n "${mounted:-}" ]; then umount "$target" 2>/dev/null; fi
  if [ -n "${immutable:-}" ]; then chattr -i "$source" 2>/dev/null; fi
}
trap cleanup EXIT INT TERM

umount "$target" 2>/dev/null
chattr -i "$source" 2>/dev/null
rm -rf "$source" "$target"
mkdir -p "$source" "$target"
cp "$game" "$pixelhem" "$source"/
cp "$winmm" "$source"/winmm.dll

how=""
if mount --bind "$source" "$target" 2>/dev/null; then
  mounted=1
  if mount -o remount,bind,ro "$target" 2>/dev/null; then
    how="read-only bind mount"
    folder=$target
  else
    umount "$target"
    mounted=""
  fi
fi
if [ -z "$how" ] && chattr +i "$source" 2>/dev/null; then
  immutable=1
  how="immutable folder (chattr +i)"
  folder=$source
fi
if [ -z "$how" ]; then
  echo "folders.sh: no way to make a folder read-only for root here (neither mount nor chattr)" >&2
  folder=""
  how="none"
fi
if [ -n "$folder" ] && touch "$folder/probe-write" 2>/dev/null; then
  rm -f "$folder/probe-write"
  echo "folders.sh: the $how still takes writes" >&2
  exit 1
fi
echo "read-only folder: $folder, made by a $how"
"$@" --readonly="$folder" --readonly-how="$how"
status=$?
exit $status
