#!/usr/bin/env bash
# The scripted desk phone against the private server: its wire encoding, a
# request answered by the echoing phone, and the exit codes of its failures.
set -u
env_file="$1"
phone="$(cd "$(dirname "$0")/../../suite/phone" && pwd)/phone.py"
passes=0
failures=0
check() {  # name, expected, actual
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
    passes=$((passes + 1))
  else
    echo "FAILED: $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

encoded="$(cd "$(dirname "$phone")" && /usr/bin/python3 -c 'import phone; print(phone.encode_body("<a b=\"1\">é *-_.~ +</a>"))')"
check "wire encoding" '%3ca+b%3d%221%22%3e%c3%a9+*-_.%7e+%2b%3c%2fa%3e' "$encoded"

# The user's account asks the echoing phone: the answer is the request itself.
request='<ZvnXmppReq><Command>InstantMeeting</Command><Sequence>7</Sequence><Param><MeetingTopic>Grüße &amp; 会議</MeetingTopic></Param></ZvnXmppReq>'
as_user=(--env "$env_file" --jid user@localhost --password user-password --to phone@localhost --timeout 15)
answer="$(/usr/bin/python3 "$phone" "${as_user[@]}" "$request")"
check "answered request, exit code" 0 $?
check "answered request, printed answer" "$request" "$answer"

/usr/bin/python3 "$phone" --env "$env_file" --to nobody@localhost --timeout 15 "<x/>" >/dev/null 2>&1
check "no such receiver" 4 $?
/usr/bin/python3 "$phone" --env "$env_file" --password wrong --timeout 15 "<x/>" >/dev/null 2>&1
check "wrong password" 3 $?

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
