#!/usr/bin/env bash
# The shipped setup.exe: a 32-bit (i386) GUI program that Windows XP accepts
# (subsystem and OS version 5.01), carrying the asInvoker manifest.
set -u
exe=${1:?usage: pe_header.sh setup.exe}
objdump=i686-w64-mingw32-objdump
failures=0
expect() {   # description, actual, wanted
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: got '$2', want '$3'"; failures=$((failures + 1)); fi
}
headers=$("$objdump" -p "$exe")
field() { awk -v k="$1" '$1 == k { print $2; exit }' <<<"$headers"; }

expect "file format" "$("$objdump" -f "$exe" | awk '/file format/ { print $NF }')" pei-i386
expect "subsystem" "$(field Subsystem)" 00000002
expect "subsystem version" "$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)" 5.1
expect "OS version" "$(field MajorOSystemVersion).$(field MinorOSystemVersion)" 5.1

# The manifest: a resource of type 24 (RT_MANIFEST) with id 1, whose text
# asks for the invoker's rights.
resources=$(sed -n '/Resource Directory section/,$p' <<<"$headers")
grep -q 'Entry: ID: 0x000018' <<<"$resources" && grep -q 'Entry: ID: 0x000001' <<<"$resources"
expect "manifest resource" "$?" 0
strings -n 8 "$exe" | grep -q '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>'
expect "asInvoker manifest" "$?" 0

[ "$failures" -eq 0 ] && echo "1 passed, 0 failed" || { echo "0 passed, 1 failed"; exit 1; }
