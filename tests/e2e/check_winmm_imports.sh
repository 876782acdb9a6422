#!/bin/sh
# Every winmm function that a program imports must be exported by the recording
# winmm.dll, or the program would not load with it beside it.
#   check_winmm_imports.sh OBJDUMP RECORDER_DLL PROGRAM...
set -eu
objdump=$1
recorder=$2
shift 2

exports=$("$objdump" -p "$recorder" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^\t\[/{print $NF} t&&/^$/{t=0}')
[ -n "$exports" ] || { echo "no exports found in $recorder"; exit 1; }
status=0
for program in "$@"; do
  imports=$("$objdump" -p "$program" | awk '
    /DLL Name:/ { dll = tolower($3); next }
    /^[ \t]*$/ { dll = "" }
    dll == "winmm.dll" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }')
  for name in $imports; do
    if ! printf '%s\n' "$exports" | grep -qx "$name"; then
      echo "$(basename "$program") imports $name from winmm.dll; the recorder does not export it"
      status=1
    fi
  done
  echo "$(basename "$program"): winmm imports: $(echo $imports)"
done
exit $status
