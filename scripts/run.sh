#!/usr/bin/env bash
# Installs what is missing, builds, registers the COM servers and runs the
# desktop client in the suite's host. With a display it shows there; without
# one it runs on a private X display and leaves a screenshot in out/.
# A private XMPP server runs beside it (build/prosody-run), and the client's
# phone bridge signs in to it as the user, so that the scripted desk phone
# can send it requests.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/prereqs.sh"
"$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine-env.sh"
prosody_dir="$build/prosody-run"
messaging_key='HKCU\SOFTWARE\Zorvan\Quillkit\Messaging'
meetinglib_key='HKCU\SOFTWARE\Zorvan\Quillkit\MeetingLib'
# The account and the reporting are this run's: the tests share the prefix.
cleanup() {
  "$WINE" reg delete "$messaging_key" /f >/dev/null 2>&1 || true
  "$WINE" reg delete "$meetinglib_key" /v ReportRunning /f >/dev/null 2>&1 || true
  "$root/scripts/prosody.sh" stop "$prosody_dir" >/dev/null 2>&1 || true
  qk_stop_all
}
trap cleanup EXIT
qk_prepare_prefix

headless=0
if [ -z "${DISPLAY:-}" ] || [ "${QK_HEADLESS:-0}" = 1 ]; then
  headless=1
  qk_start_xvfb
fi
qk_start_wineserver

bin="$build/bin"
for server in qkSJUI.dll qkService.dll; do
  "$WINE" regsvr32 /s "$(winepath_of "$bin/$server")" >/dev/null 2>&1
done

# As the suite's installer does: the meetings window synchronises its day.
"$WINE" reg add 'HKCU\SOFTWARE\Zorvan\Quillkit' /v SJEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1

# The messaging account the phone bridge signs in with, on the private server.
"$root/scripts/prosody.sh" start "$prosody_dir"
# shellcheck disable=SC1091
source "$prosody_dir/env"
"$WINE" reg add "$messaging_key" /v Name /t REG_SZ /d "$QK_USER_JID" /f >/dev/null 2>&1
"$WINE" reg add "$messaging_key" /v Password /t REG_SZ /d "$QK_USER_PASSWORD" /f >/dev/null 2>&1
"$WINE" reg add "$messaging_key" /v BoshUrl /t REG_SZ /d "$QK_BOSH_URL" /f >/dev/null 2>&1
# A meeting started from the phone shows up as running, which completes its answer.
"$WINE" reg add "$meetinglib_key" /v ReportRunning /t REG_DWORD /d 1 /f >/dev/null 2>&1

if [ "$headless" = 1 ]; then limit="${QK_RUN_SECONDS:-20}"; else limit="${QK_RUN_SECONDS:-3600}"; fi
echo "Running the desktop client on display $DISPLAY; it stops when the host ends or after $limit s."
echo "Its phone bridge signs in as $QK_USER_JID; send it a request from the scripted desk phone:"
echo "  /usr/bin/python3 suite/phone/phone.py --env $prosody_dir/env '<ZvnXmppReq><Command>InstantMeeting</Command><Sequence>1</Sequence><HostType>0</HostType><Param><HeadCount>1</HeadCount></Param></ZvnXmppReq>'"
mkdir -p "$root/out"
"$WINE" "$bin/qkhost.exe" /module:"qkSJUI 0.0.0.3" "$@" >"$root/out/host.log" 2>&1 &
host=$!

if [ "$headless" = 1 ]; then
  sleep "${QK_SCREENSHOT_AFTER:-6}"
  if kill -0 "$host" 2>/dev/null; then
    /usr/bin/convert x:root -crop 1280x1024+0+0 "$root/out/desktop-client.png" 2>/dev/null ||
      import -window root "$root/out/desktop-client.png"
    echo "Screenshot: out/desktop-client.png"
  fi
fi

# The detail bubble of the meeting in progress, opened as a user's hover opens
# it: always without a display (then pictured), with one when QK_SHOW_BUBBLE=1.
if { [ "$headless" = 1 ] || [ "${QK_SHOW_BUBBLE:-0}" = 1 ]; } && kill -0 "$host" 2>/dev/null; then
  if "$WINE" "$bin/qkhover.exe" >"$root/out/hover.log" 2>&1; then
    if [ "$headless" = 1 ]; then
      sleep 1
      /usr/bin/convert x:root -crop 1280x1024+0+0 "$root/out/desktop-client-bubble.png"
      echo "Screenshot: out/desktop-client-bubble.png"
    fi
  else
    echo "The bubble did not open (out/hover.log says why)."
  fi
fi

deadline=$((SECONDS + limit))
while kill -0 "$host" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 1; done
if kill -0 "$host" 2>/dev/null; then
  echo "Time limit reached; asking the desktop client to exit."
  # A second start with the close parameter is the client's own exit request.
  "$WINE" "$bin/qkhost.exe" /module:"qkSJUI 0.0.0.3" /param:close >/dev/null 2>&1 || true
  for _ in 1 2 3 4 5; do kill -0 "$host" 2>/dev/null || break; sleep 1; done
  kill -0 "$host" 2>/dev/null && "$WINESERVER" -k >/dev/null 2>&1 || true
fi
wait "$host" 2>/dev/null && rc=0 || rc=$?
echo "Host ended with exit code $rc (log: out/host.log)."
