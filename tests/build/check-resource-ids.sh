#!/usr/bin/env bash
# Every resource of the .rc files is numbered by a name from ResourceIds.h. The
# resource compiler takes an unknown name as a named resource and says nothing,
# so a misspelt name would leave the code loading a number nobody defined.
# Prints each name that the header does not define and fails on any.
#   check-resource-ids.sh RES_DIR HEADER
set -u
res="$1"
header="$2"
defined=$(grep -oE '^#define (ID[A-Z]*_[A-Z0-9_]+)' "$header" | cut -d' ' -f2 | sort -u)
status=0
checked=0
while IFS=: read -r file line name; do
  checked=$((checked + 1))
  if ! grep -qx "$name" <<<"$defined"; then
    echo "$file:$line: $name is not defined in $(basename "$header")"
    status=1
  fi
done < <(for rc in "$res"/*.rc; do
  sed 's|//.*||' "$rc" | grep -noE '\bID[A-Z]*_[A-Z0-9_]+\b' | grep -vE ':(IDOK|IDCANCEL)$' | sed "s|^|$rc:|"
done)
[ "$checked" -gt 0 ] || { echo "no resource names found under $res"; exit 1; }
[ "$status" -eq 0 ] && echo "$checked resource names, all defined"
exit "$status"
