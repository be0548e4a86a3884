#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine on a
# private X display. Ends with CTest's summary; extra arguments go to ctest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/prereqs.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
trap qk_stop_all EXIT
qk_prepare_prefix
qk_start_xvfb
qk_start_wineserver
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 120 "$@"
