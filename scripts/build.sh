#!/usr/bin/env bash
# Configures (once) and builds everything into build/ (binaries in build/bin).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QK_BUILD_DIR:-$root/build}"
# A compiler cache, when the machine has one, is shared by every checkout: paths
# under the checkout are hashed relative to it.
launcher=()
if command -v ccache >/dev/null; then
  # Include folders on the command line (not in response files) and no working
  # folder in the hash, so that another checkout's objects match.
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
            -DCMAKE_CXX_USE_RESPONSE_FILE_FOR_INCLUDES=OFF -DCMAKE_C_USE_RESPONSE_FILE_FOR_INCLUDES=OFF)
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" -- --no-print-directory "$@"
