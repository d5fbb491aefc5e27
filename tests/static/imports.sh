#!/usr/bin/env bash
# The shipped setup.exe imports only functions of the reviewed list beside
# this script (imports.txt), each there since Windows XP SP3 at the latest,
# and nothing of the compiler's runtime DLLs. A listed function that is not
# imported is reported, not failed.
set -u
exe=${1:?usage: imports.sh setup.exe}
list=$(dirname "$0")/imports.txt
objdump=i686-w64-mingw32-objdump
passed=0
failed=0
result() {   # ok?, message
  if [ "$1" -eq 0 ]; then passed=$((passed + 1)); echo "ok: $2"
  else failed=$((failed + 1)); echo "FAIL: $2"; fi
}

# "DLL function" per import, the DLL name in lower case (the linker keeps
# the import library's spelling, the list is reviewed by people).
imports=$("$objdump" -p "$exe" | awk '
  /^\tDLL Name: / { dll = tolower($3); next }
  /^\t?$/ || /^[^\t]/ { dll = "" }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF == 3 { print dll, $3 }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF == 2 { print dll, "ordinal-" $2 }' | sort -u)
listed=$(awk '!/^#/ && NF >= 3 { print tolower($1), $2 }' "$list" | sort -u)

[ -n "$imports" ]
result $? "the import table can be read ($(wc -l <<<"$imports") functions)"

# The list itself: three columns, versions no newer than XP SP3.
bad_rows=$(awk '!/^#/ && NF > 0 && (NF != 3 || $3 !~ /^(95|NT4|2000|XP|XPSP1|XPSP2|XPSP3)$/)' "$list")
[ -z "$bad_rows" ]
result $? "every listed function is there by Windows XP SP3${bad_rows:+: $bad_rows}"

unlisted=$(comm -23 <(echo "$imports") <(echo "$listed"))
[ -z "$unlisted" ]
result $? "every import is in the reviewed list${unlisted:+; not listed (check its minimum Windows version, then add it to imports.txt):
$unlisted}"

# The -posix compilers bring in winpthreads (and with it GetTickCount64,
# which XP lacks) or runtime DLLs when a thread or libstdc++ part slips in.
runtime=$(grep -Ei '^(libwinpthread|libgcc|libstdc|libssp)|gettickcount64' <<<"$imports")
[ -z "$runtime" ]
result $? "no compiler runtime DLL, no GetTickCount64${runtime:+: $runtime}"

stale=$(comm -13 <(echo "$imports") <(echo "$listed") | wc -l)
echo "note: $stale listed functions are not imported now (allowed ahead of use)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
