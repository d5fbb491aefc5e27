#!/usr/bin/env bash
# The shipped setup.exe is downloaded by every user: at most 32 KB.
set -u
exe=${1:?usage: size.sh setup.exe}
limit=32768
size=$(stat -c %s "$exe") || { echo "0 passed, 1 failed"; exit 1; }
if [ "$size" -le "$limit" ]; then
  echo "ok: $exe is $size bytes (limit $limit)"
  echo "1 passed, 0 failed"
else
  echo "FAIL: $exe is $size bytes, over the limit of $limit"
  echo "0 passed, 1 failed"
  exit 1
fi
