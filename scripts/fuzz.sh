#!/usr/bin/env bash
# Feeds the desktop client hostile input for longer than the test suite does.
#
#   scripts/fuzz.sh [MESSAGES [RESTARTS]]      (defaults 100000 and 50)
#
# - phone messages: MESSAGES seeded hostile messages (QK_FUZZ_SEED) through the
#   bridge's arrival path; after a crash or a hang the run goes on with the next
#   case, so every one is counted;
# - command-line records handed over by a second process;
# - the XMPP server killed and started again RESTARTS times in one session.
# Prints one line for each; the whole output goes to build/fuzz.log. Exits
# non-zero when anything went wrong.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
messages="${1:-100000}"
restarts="${2:-50}"
seed="${QK_FUZZ_SEED:-20261206}"

"$root/scripts/prereqs.sh"
"$root/scripts/build.sh"
# A Wine session of its own: the test suite may run at the same time.
export QK_WINEPREFIX="${QK_WINEPREFIX:-${QK_BUILD_DIR:-$root/build}/wineprefix-fuzz}"
source "$root/scripts/wine-env.sh"
log="$build/fuzz.log"
server="$(mktemp -d /tmp/qk-fuzz.XXXXXX)"
finish() {
  bash "$root/scripts/prosody.sh" stop "$server/prosody" >/dev/null 2>&1 || true
  rm -rf "$server"
  qk_stop_all
}
trap finish EXIT
qk_prepare_prefix
qk_start_xvfb
qk_start_wineserver
: >"$log"
failed=0

# Runs a test program in its own folder; its output is appended to the log.
run_test() {
  local dir="$1" program="$2" filter="$3"
  (cd "$build/bin/$dir" && GTEST_FILTER="$filter" "$root/scripts/wine-exec.sh" "$program" 2>&1) | tee -a "$log" || true
}

# --- phone messages
first=0 sent=0 crashes=0 hangs=0 wrong=0 others=passed
while [ "$first" -lt "$messages" ]; do
  # The string cache off: what a message leaves behind must show in the heap.
  out="$(OANOCACHE=1 QK_FUZZ_FIRST=$first QK_FUZZ_MESSAGES=$((messages - first)) QK_FUZZ_SEED=$seed \
         run_test fuzztests fuzz.exe 'PhoneFuzz.*')"
  summary="$(grep -oE 'phone messages: cases [0-9]+\.\.[0-9]+, [0-9]+ sent, [0-9]+ wrong' <<<"$out" || true)"
  if [ -n "$summary" ]; then
    sent=$((sent + $(sed -E 's/.*, ([0-9]+) sent.*/\1/' <<<"$summary")))
    wrong=$((wrong + $(sed -E 's/.*, ([0-9]+) wrong/\1/' <<<"$summary")))
    # Memory, handles, windows and the library's calls are checked at the end.
    grep -q '\[  PASSED  \] 2 tests' <<<"$out" || others="FAILED (see $log)"
    grep -E '^  [a-zA-Z-].* cases, ' <<<"$out" >"$build/fuzz-mutations.txt" || true
    break
  fi
  # Ended early: the report names the case it was in.
  report="$(grep -E '^(CRASH|HANG):' <<<"$out" | tail -1)"
  if [ -z "$report" ]; then
    echo "the phone message run ended without a summary; the end of its output:" >&2
    tail -20 <<<"$out" >&2
    failed=1
    break
  fi
  case "$report" in CRASH:*) crashes=$((crashes + 1)) ;; *) hangs=$((hangs + 1)) ;; esac
  at="$(grep -oE 'case [0-9]+' <<<"$report" | head -1 | cut -d' ' -f2)"
  if [ -z "$at" ]; then
    sent=$messages  # after the last case
    break
  fi
  echo "$report" >&2
  sent=$((sent + at - first + 1))
  first=$((at + 1))
done
echo "phone messages: $sent sent, $crashes crashes, $hangs hangs"
echo "phone messages answered or dropped against the rules: $wrong (per mutation: build/fuzz-mutations.txt)"
echo "phone messages: memory, handles, windows, library calls and repeated messages: $others"
[ "$crashes" = 0 ] && [ "$hangs" = 0 ] && [ "$wrong" = 0 ] && [ "$others" = passed ] || failed=1

# --- command-line records from a second process
out="$(run_test fuzztests fuzz.exe 'CopyData.*')"
records="$(grep -c 'sender exit' <<<"$out" || true)"
if grep -q '\[  PASSED  \] 2 tests' <<<"$out"; then
  echo "command-line records: $records sent from a second process, all taken or ignored as they should be, client running"
else
  echo "command-line records: $records sent from a second process, FAILED (see $log)"
  failed=1
fi

# --- XMPP server restarts
bash "$root/scripts/prosody.sh" start "$server/prosody" >>"$log" 2>&1
out="$(QK_PROSODY_ENV_FILE="Z:$server/prosody/env" QK_PROSODY_SCRIPT="$root/scripts/prosody.sh" \
       QK_SERVER_RESTARTS=$restarts \
       run_test phonebridgetests phonebridge.exe 'BridgeTest.AfterEachServerRestart*')"
line="$(grep -oE 'server restarts: .*' <<<"$out" || true)"
if [ -n "$line" ] && grep -q '\[  PASSED  \] 1 test' <<<"$out"; then
  echo "XMPP $line"
else
  echo "XMPP server restarts: FAILED (see $log)"
  failed=1
fi
exit "$failed"
