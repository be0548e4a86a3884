#!/usr/bin/env bash
# A private XMPP server (Debian's prosody) on loopback with BOSH, for tests and
# for running the desktop client against it.
#
#   scripts/prosody.sh start DIR [HTTP_PORT [C2S_PORT]]   (ports 0 or absent: free ones)
#   scripts/prosody.sh stop DIR
#
# DIR receives "env" with the ports, the accounts and the BOSH address (shell
# syntax, one KEY=VALUE a line), and the server's log. Accounts: the user
# user@localhost and the desk phone phone@localhost. With QK_PROSODY_ECHO=1 a
# scripted phone that answers every message with its own body runs as well.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
command="${1:-}"
dir="${2:-}"
[ -n "$command" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR [HTTP_PORT [C2S_PORT]]" >&2; exit 64; }
mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"

USER_JID=user@localhost
USER_PASSWORD=user-password
PHONE_JID=phone@localhost
PHONE_PASSWORD=phone-password

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

# prosody refuses to run as root: then it runs as its own user, in a state
# folder that user owns (outside the tree, which that user may not reach).
as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=prosody --regid=prosody --init-groups -- "$@"
  else
    "$@"
  fi
}

# A process that has ended but was not reaped (its parent was the shell that
# started it, long gone) counts as ended.
running() {
  local state
  state="$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

stop_pids() {
  local pid
  for pid in "$@"; do kill "$pid" 2>/dev/null || true; done
  for _ in $(seq 50); do
    local left=0
    for pid in "$@"; do running "$pid" && left=1; done
    [ "$left" = 0 ] && return 0
    sleep 0.1
  done
  for pid in "$@"; do kill -9 "$pid" 2>/dev/null || true; done
}

stop() {
  [ -f "$dir/env" ] || return 0
  # shellcheck disable=SC1091
  source "$dir/env"
  # shellcheck disable=SC2086
  stop_pids ${QK_PHONE_ECHO_PID:-} ${QK_PROSODY_PID:-}
  [ -n "${QK_PROSODY_STATE:-}" ] && [ -d "$QK_PROSODY_STATE" ] && rm -rf "$QK_PROSODY_STATE"
  rm -f "$dir/env"
}

wait_for_port() {
  local port="$1"
  for _ in $(seq 100); do
    if /usr/bin/python3 -c "import socket,sys; socket.create_connection(('127.0.0.1',$port),0.2)" 2>/dev/null; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

start() {
  command -v prosody >/dev/null || { echo "prosody is not installed (scripts/prereqs.sh installs it)" >&2; exit 69; }
  stop
  local http_port="${3:-0}" c2s_port="${4:-0}"
  [ "$http_port" = 0 ] && http_port="$(free_port)"
  [ "$c2s_port" = 0 ] && c2s_port="$(free_port)"
  local state
  state="$(mktemp -d /tmp/qk-prosody.XXXXXX)"
  chmod 755 "$state"
  mkdir -p "$state/data"
  cat > "$state/prosody.cfg.lua" <<CFG
daemonize = false
pidfile = "$state/prosody.pid"
data_path = "$state/data"
plugin_paths = {}
interfaces = { "127.0.0.1" }
c2s_ports = { $c2s_port }
c2s_interfaces = { "127.0.0.1" }
s2s_ports = {}
component_ports = {}
http_ports = { $http_port }
http_interfaces = { "127.0.0.1" }
https_ports = {}
modules_enabled = { "roster"; "saslauth"; "disco"; "ping"; "bosh"; "presence"; "message"; "iq"; "c2s" }
modules_disabled = { "s2s"; "tls"; "offline" }
authentication = "internal_hashed"
-- Plain HTTP on loopback counts as secure here, so PLAIN is offered beside SCRAM.
allow_unencrypted_plain_auth = true
c2s_require_encryption = false
consider_bosh_secure = true
-- Short holds keep the tests of broken sessions short.
bosh_max_wait = 10
log = { info = "$state/prosody.log"; error = "$state/prosody.err" }
VirtualHost "localhost"
CFG
  [ "$(id -u)" -eq 0 ] && chown -R prosody "$state"
  as_server prosodyctl --config "$state/prosody.cfg.lua" register user localhost "$USER_PASSWORD" >/dev/null 2>&1
  as_server prosodyctl --config "$state/prosody.cfg.lua" register phone localhost "$PHONE_PASSWORD" >/dev/null 2>&1
  # setsid and closed descriptors: whoever started us (CTest) must not wait for
  # the server. setsid and setpriv replace themselves: the pid is the server's.
  local runner=()
  [ "$(id -u)" -eq 0 ] && runner=(setpriv --reuid=prosody --regid=prosody --init-groups --)
  setsid "${runner[@]}" prosody -F --config "$state/prosody.cfg.lua" </dev/null >"$state/stdout.log" 2>&1 &
  local pid=$!
  if ! wait_for_port "$http_port" || ! wait_for_port "$c2s_port"; then
    echo "prosody did not start; its log:" >&2
    cat "$state/prosody.log" "$state/stdout.log" >&2 2>/dev/null || true
    stop_pids "$pid"
    rm -rf "$state"
    exit 1
  fi
  cat > "$dir/env" <<ENV
QK_PROSODY_PID=$pid
QK_PROSODY_STATE=$state
QK_PROSODY_HTTP_PORT=$http_port
QK_PROSODY_C2S_PORT=$c2s_port
QK_BOSH_URL=http://127.0.0.1:$http_port/http-bind
QK_XMPP_DOMAIN=localhost
QK_USER_JID=$USER_JID
QK_USER_PASSWORD=$USER_PASSWORD
QK_PHONE_JID=$PHONE_JID
QK_PHONE_PASSWORD=$PHONE_PASSWORD
ENV
  if [ "${QK_PROSODY_ECHO:-0}" = 1 ]; then
    setsid /usr/bin/python3 "$root/suite/phone/phone.py" --env "$dir/env" --echo \
      </dev/null >"$dir/phone-echo.log" 2>&1 &
    echo "QK_PHONE_ECHO_PID=$!" >> "$dir/env"
    # The echo is ready once the server shows the phone online.
    for _ in $(seq 100); do grep -q "ready" "$dir/phone-echo.log" 2>/dev/null && break; sleep 0.1; done
    grep -q "ready" "$dir/phone-echo.log" || { echo "the echo phone did not sign in:" >&2; cat "$dir/phone-echo.log" >&2; }
  fi
  echo "prosody runs on 127.0.0.1: BOSH http://127.0.0.1:$http_port/http-bind, c2s $c2s_port (state $state)"
}

case "$command" in
  start) start "$@" ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop DIR [HTTP_PORT [C2S_PORT]]" >&2; exit 64 ;;
esac
