#!/usr/bin/env bash
# The folders under src/ are layers: a file may include headers of its own
# folder, of the layers below it and of include/. Prints every include that
# breaks the order and fails on any. Usage: check-layers.sh SRC_DIR
set -u
src="$1"
# Each layer with the layers it may include (besides itself).
declare -A below=(
  [common]=""
  [uilib]="common"
  [meetings]="common uilib"
  [dayview]="common uilib meetings"
  [ipphone]="common uilib meetings"
  [mainframe]="common uilib meetings dayview ipphone"
  [module]="common uilib meetings dayview ipphone mainframe"
)
# Which layer owns each header name.
declare -A owner=()
for layer in "${!below[@]}"; do
  [ -d "$src/$layer" ] || { echo "missing layer folder $src/$layer"; exit 1; }
  while IFS= read -r header; do
    name=$(basename "$header")
    if [ -n "${owner[$name]:-}" ]; then
      echo "$name is in both $layer and ${owner[$name]}: header names must be unique across layers"
      exit 1
    fi
    owner[$name]=$layer
  done < <(find "$src/$layer" -name '*.h')
done
for folder in "$src"/*/; do
  layer=$(basename "$folder")
  [ -n "${below[$layer]+x}" ] || { echo "src/$layer is not a known layer: add it to $0"; exit 1; }
done

status=0
checked=0
for layer in "${!below[@]}"; do
  allowed=" $layer ${below[$layer]} "
  while IFS=: read -r file line text; do
    checked=$((checked + 1))
    name=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$text")
    if [[ "$name" == */* ]]; then
      echo "$file:$line: include by path ($name): layers expose their own folder only"
      status=1
      continue
    fi
    target=${owner[$name]:-}
    [ -n "$target" ] || continue  # include/ or a system header
    if [[ "$allowed" != *" $target "* ]]; then
      echo "$file:$line: $layer includes $name of $target, which is not below it"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$src/$layer" --include='*.h' --include='*.cpp' --include='*.rc')
done
[ "$checked" -gt 0 ] || { echo "no includes found under $src"; exit 1; }
echo "checked $checked includes"
exit $status
