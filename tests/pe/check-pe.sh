#!/usr/bin/env bash
# What the shipped executable must be, read from its headers:
#   check-pe.sh OBJDUMP EXE
# A 32-bit GUI program without a link time stamp that needs only system DLLs.
set -euo pipefail
objdump=$1
exe=$2
headers=$("$objdump" -p "$exe")
fail=0
expect() {
  if ! grep -qE "$1" <<<"$headers"; then
    echo "FAIL: $2"
    fail=1
  else
    echo "ok: $2"
  fi
}
expect 'file format pei-i386' "PE32 for x86"
expect '^Magic[[:space:]]+010b' "PE32 optional header"
expect '^Subsystem[[:space:]]+00000002' "Windows GUI subsystem"
expect '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970' "no link time stamp"

allowed='^(KERNEL32|USER32|ole32|OLEAUT32|msvcrt|ADVAPI32|GDI32)\.dll$'
while read -r dll; do
  if [[ ! "$dll" =~ $allowed ]]; then
    echo "FAIL: imports $dll, which is not a system DLL of the allowed set"
    fail=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
if grep -qi 'DLL Name: shfolder' <<<"$headers"; then
  echo "FAIL: shfolder.dll must be bound at run time, not imported"
  fail=1
fi
[ "$fail" -eq 0 ] && echo "imports: $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
exit "$fail"
