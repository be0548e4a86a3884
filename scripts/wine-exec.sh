#!/usr/bin/env bash
# CTest's emulator for Windows binaries. Wine's helper processes inherit the
# output pipes, and CTest waits for every holder of them: so the program's
# output goes to files that are printed once it has ended.
set -u
WINE=/usr/lib/wine/wine64
tmp="$(mktemp -d)"
"$WINE" "$@" >"$tmp/out" 2>"$tmp/err" </dev/null
rc=$?
cat "$tmp/out"
cat "$tmp/err" >&2
rm -rf "$tmp"
exit $rc
