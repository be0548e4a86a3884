#!/usr/bin/env bash
# Configures (once) and builds everything into build/ (binaries in build/bin).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QK_BUILD_DIR:-$root/build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" -- --no-print-directory "$@"
