#!/usr/bin/env bash
# Builds the benchmark programs and what they need, runs every benchmark under
# Wine on a private X display with a private XMPP server, and prints one line
# per figure, "name: value (goal)", then a summary line. Every figure is rated
# against a floor measured in the same run; nothing here passes or fails a
# build. The details of each figure go to build/bench/bench.log.
#
#   QK_BENCH_CYCLES   cycles of the memory benchmark (10000)
#   QK_BENCH_RUNS     runs of the whole-process start-up pairs (10)
#   QK_BENCH_TRIPS    phone round trips of each side (20)
#   QK_BENCH_ONE_CPU  1 (default): everything runs on the first CPU; 0: where the scheduler puts it
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/prereqs.sh"
"$root/scripts/build.sh" qkbench >/dev/null
source "$root/scripts/wine-env.sh"

bin="$build/bin"
out="$build/bench"
mkdir -p "$out"
log="$out/bench.log"
lines="$out/lines.txt"
: >"$log"
: >"$lines"
prosody_dir="$out/prosody"
messaging_key='HKCU\SOFTWARE\Zorvan\Quillkit\Messaging'
meetinglib_key='HKCU\SOFTWARE\Zorvan\Quillkit\MeetingLib'
service_key='HKCU\SOFTWARE\Zorvan\Quillkit\Service'
host_pid=""
echo_pid=""

cleanup() {
  [ -n "$echo_pid" ] && kill "$echo_pid" 2>/dev/null || true
  if [ -n "$host_pid" ] && kill -0 "$host_pid" 2>/dev/null; then
    "$WINE" "$bin/qkhost.exe" /param:close >/dev/null 2>&1 || true
    sleep 2
  fi
  "$WINE" reg delete "$messaging_key" /f >/dev/null 2>&1 || true
  "$WINE" reg delete "$meetinglib_key" /v ReportRunning /f >/dev/null 2>&1 || true
  "$WINE" reg delete "$service_key" /v RunningMeetings /f >/dev/null 2>&1 || true
  "$WINE" reg delete 'HKCU\SOFTWARE\Zorvan\Quillkit' /v AlwaysStartFromIpphone /f >/dev/null 2>&1 || true
  "$root/scripts/prosody.sh" stop "$prosody_dir" >/dev/null 2>&1 || true
  qk_stop_all
}
trap cleanup EXIT
# On these virtual machines waking a process on the other CPU takes tens of
# microseconds, and Wine's window work is thousands of round trips between a
# program and the wineserver: spread over two CPUs, that latency rather than
# the work decides the figures (the day view's refresh takes three times as
# long). So the X server, the wineserver, the programs and their floors all
# run on one CPU; the server is started afresh to be one of them.
if [ "${QK_BENCH_ONE_CPU:-1}" != 0 ] && command -v taskset >/dev/null; then
  taskset -pc 0 $$ >/dev/null
  "$WINESERVER" -k >/dev/null 2>&1 || true
  echo "(on one CPU; QK_BENCH_ONE_CPU=0 leaves the processes to the scheduler)"
fi
qk_prepare_prefix
qk_start_xvfb
qk_start_wineserver
for server in qkSJUI.dll qkService.dll; do
  "$WINE" regsvr32 /s "$(winepath_of "$bin/$server")" >/dev/null 2>&1
done

# Keeps a program's FIGURE, DETAIL and VALUE lines; says so when it failed.
collect() {
  local name="$1"
  shift
  local text
  if ! text="$("$@" 2>>"$log")"; then
    printf 'FIGURE\t%s\tnot measured (the program failed; see %s)\t-\t0\n' "$name" "$log" >>"$lines"
  fi
  printf '%s\n' "$text" | tr -d '\r' | grep -E $'^(FIGURE|DETAIL|VALUE)\t' >>"$lines" || true
}

echo "Benchmarks running (details: $log) ..."
collect "day refresh" "$WINE" "$bin/qkbench_day.exe" refresh
collect "scroll tick" "$WINE" "$bin/qkbench_day.exe" tick
# The string cache off, so that the heap's blocks in use count what is left behind.
OANOCACHE=1 collect "memory over time" "$WINE" "$bin/qkbench_day.exe" memory "${QK_BENCH_CYCLES:-10000}"

# Start-up: the host with the desktop client until its hidden frame is ready,
# to its exit, against a bare program of the same toolchain with one window.
collect "start-up" /usr/bin/python3 "$root/bench/figures.py" pair "start-up" 1.5 "${QK_BENCH_RUNS:-10}" \
  "$WINE $bin/qkhost.exe /quitwhenready" "$WINE $bin/qkbench_bare.exe"

# Phone round trip: the scripted phone through the private server, first to an
# echo client signed in as the user (the floor), then to the desktop client,
# which joins straight away (one person) through the meetings library.
trips="${QK_BENCH_TRIPS:-20}"
request='<ZvnXmppReq><Command>JoinMeeting</Command><Sequence>{n}</Sequence><HostType>0</HostType><Param><HeadCount>1</HeadCount><MeetingKey>3110{n}</MeetingKey></Param></ZvnXmppReq>'
phone=(/usr/bin/python3 "$root/suite/phone/phone.py" --env "$prosody_dir/env")
# A joined meeting shows up as running, as the meeting program reports it; only
# that completes the client's answer (without it every request after the first
# is answered "busy", and nothing is joined).
"$WINE" reg add "$meetinglib_key" /v ReportRunning /t REG_DWORD /d 1 /f >/dev/null 2>&1
collect "phone action" "$WINE" "$bin/qkbench_day.exe" action
action_ms="$(awk -F'\t' '$1 == "VALUE" && $2 == "action_ms" {print $3}' "$lines" | tail -1)"
"$root/scripts/prosody.sh" start "$prosody_dir" >>"$log"
# shellcheck disable=SC1091
source "$prosody_dir/env"
"${phone[@]}" --echo --jid "$QK_USER_JID" --password "$QK_USER_PASSWORD" >"$out/echo.log" 2>&1 &
echo_pid=$!
for _ in $(seq 100); do grep -q ready "$out/echo.log" 2>/dev/null && break; sleep 0.1; done
"${phone[@]}" --timeout 60 --repeat "$trips" "$request" >"$out/phone-floor.log" 2>&1 || true
kill "$echo_pid" 2>/dev/null || true
wait "$echo_pid" 2>/dev/null || true
echo_pid=""

"$WINE" reg delete "$service_key" /v RunningMeetings /f >/dev/null 2>&1 || true
"$WINE" reg add "$messaging_key" /v Name /t REG_SZ /d "$QK_USER_JID" /f >/dev/null 2>&1
"$WINE" reg add "$messaging_key" /v Password /t REG_SZ /d "$QK_USER_PASSWORD" /f >/dev/null 2>&1
"$WINE" reg add "$messaging_key" /v BoshUrl /t REG_SZ /d "$QK_BOSH_URL" /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\SOFTWARE\Zorvan\Quillkit' /v AlwaysStartFromIpphone /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$WINE" "$bin/qkhost.exe" >"$out/host.log" 2>&1 &
host_pid=$!
# The client answers once its bridge has signed in.
probe="${request//\{n\}/900}"
for _ in $(seq 30); do
  "${phone[@]}" --timeout 3 "$probe" >>"$out/phone-probe.log" 2>&1 && break
  sleep 1
done
"${phone[@]}" --timeout 120 --repeat "$trips" "$request" >"$out/phone-client.log" 2>&1 || true
"$WINE" "$bin/qkhost.exe" /param:close >/dev/null 2>&1 || true
for _ in $(seq 15); do kill -0 "$host_pid" 2>/dev/null || break; sleep 1; done
host_pid=""
collect "phone round trip" /usr/bin/python3 "$root/bench/figures.py" phone "phone round trip" 1.2 "${action_ms:-0}" \
  "$out/phone-client.log" "$out/phone-floor.log"

awk -F'\t' '$1 == "DETAIL" {print $2}' "$lines" >>"$log"
awk -F'\t' '
  $1 == "FIGURE" { printf "%s: %s (%s)\n", $2, $3, $4; total++; if ($5 == 1) met++; else missed = missed (missed ? ", " : "") $2 }
  END { printf "summary: %d of %d figures meet their goals%s\n", met, total, missed ? "; missed: " missed : "" }
' "$lines"
