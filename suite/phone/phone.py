#!/usr/bin/python3
"""The scripted desk phone: an XMPP client (slixmpp) that sends the desktop
client one request and prints its answer, or answers every message with its
own body (--echo).

  phone.py [connection options] REQUEST_XML        send REQUEST_XML, print the answer
  phone.py [connection options] --file PATH        the request is in a file
  phone.py [connection options] --echo             send every message back to its sender
  phone.py [connection options] --repeat N REQUEST_XML
                                                   send it N times, each after the last one's final answer
                                                   ("{n}" in it becomes the run number), and print each round trip

Bodies travel in the suite's wire format (UTF-8, then percent-encoded): the
request is encoded before sending and the answer decoded before printing
(--raw sends and prints bodies unchanged). Exit codes: 0 answered, 2 no answer
within --timeout, 3 could not sign in, 4 the server returned an error.
"""
import argparse
import asyncio
import logging
import os
import sys
import time
import urllib.parse

# slixmpp warns on import that it uses its slower string preparation; that is
# no news to a test run.
logging.basicConfig(level=logging.ERROR, format="%(levelname)s %(message)s")
import slixmpp  # noqa: E402

UNRESERVED = set(b"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_*.")


def encode_body(text):
    """UTF-8, then every byte outside the unreserved set as %xx and a space as '+'."""
    out = []
    for byte in text.encode("utf-8"):
        if byte in UNRESERVED:
            out.append(chr(byte))
        elif byte == 0x20:
            out.append("+")
        else:
            out.append("%%%02x" % byte)
    return "".join(out)


def decode_body(text):
    return urllib.parse.unquote_plus(text, encoding="utf-8", errors="replace")


def read_env(path):
    values = {}
    with open(path, encoding="utf-8") as env:
        for line in env:
            key, sep, value = line.strip().partition("=")
            if sep:
                values[key] = value
    return values


class Phone(slixmpp.ClientXMPP):
    def __init__(self, args):
        super().__init__(args.jid, args.password)
        self.args = args
        self.outcome = None  # (exit code, text) once finished
        self.sent = 0  # requests sent with --repeat
        self.sent_at = 0.0
        self.finished = asyncio.Event()
        self.add_event_handler("session_start", self.on_session_start)
        self.add_event_handler("message", self.on_message)
        self.add_event_handler("message_error", self.on_message)
        self.add_event_handler("failed_auth", self.on_failed_auth)
        self.add_event_handler("connection_failed", self.on_failed_connection)

    def finish(self, code, text=""):
        if self.outcome is None:
            self.outcome = (code, text)
        self.finished.set()

    async def on_session_start(self, _event):
        self.send_presence()
        if self.args.echo:
            print("ready", flush=True)
            return
        if self.args.repeat:
            self.send_next()
            return
        body = self.args.request if self.args.raw else encode_body(self.args.request)
        self.send_message(mto=self.args.to, mbody=body, mtype="chat")

    def send_next(self):
        self.sent += 1
        request = self.args.request.replace("{n}", str(self.sent))
        body = request if self.args.raw else encode_body(request)
        self.sent_at = time.perf_counter()
        self.send_message(mto=self.args.to, mbody=body, mtype="chat")

    def on_repeated_answer(self, text):
        # An answer that only says the request was accepted is not the end of it.
        if "<Sequence>%d</Sequence>" % self.sent not in text or "<ResultCode>1</ResultCode>" in text:
            return
        print("round trip %d: %.3f ms" % (self.sent, (time.perf_counter() - self.sent_at) * 1000.0), flush=True)
        if self.sent < self.args.repeat:
            self.send_next()
        else:
            self.finish(0)

    def on_message(self, message):
        if self.args.echo:
            if message["type"] in ("chat", "normal") and message["body"]:
                reply = message.reply(message["body"])
                reply.send()
                print("echoed %d characters to %s" % (len(message["body"]), message["from"]), flush=True)
            return
        if message["from"].bare != slixmpp.JID(self.args.to).bare:
            return
        if message["type"] == "error":
            self.finish(4, "error from %s: %s" % (message["from"], message["error"]["condition"]))
        elif message["body"]:
            body = message["body"]
            text = body if self.args.raw else decode_body(body)
            if self.args.repeat:
                self.on_repeated_answer(text)
            else:
                self.finish(0, text)

    def on_failed_auth(self, _event):
        self.finish(3, "the server refused %s" % self.args.jid)

    def on_failed_connection(self, _event):
        self.finish(3, "no XMPP server at %s:%d" % (self.args.server, self.args.port))


def parse_args(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("request", nargs="?", help="the request XML")
    parser.add_argument("--file", help="read the request XML from this file")
    parser.add_argument("--echo", action="store_true", help="answer every message with its own body")
    parser.add_argument("--env", default=os.environ.get("QK_PROSODY_ENV"),
                        help="the env file of scripts/prosody.sh (ports and accounts)")
    parser.add_argument("--server", default="127.0.0.1")
    parser.add_argument("--port", type=int)
    parser.add_argument("--jid", help="the phone's account (phone@localhost)")
    parser.add_argument("--password")
    parser.add_argument("--to", help="the desktop client's account (user@localhost)")
    parser.add_argument("--timeout", type=float, default=30.0, help="seconds to wait for the answer")
    parser.add_argument("--raw", action="store_true", help="no wire encoding of the bodies")
    parser.add_argument("--repeat", type=int, default=0, help="send the request this many times, timing each")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args(argv)
    env = read_env(args.env) if args.env else {}
    args.port = args.port or int(env.get("QK_PROSODY_C2S_PORT", "5222"))
    args.jid = args.jid or env.get("QK_PHONE_JID", "phone@localhost")
    args.password = args.password or env.get("QK_PHONE_PASSWORD", "phone-password")
    args.to = args.to or env.get("QK_USER_JID", "user@localhost")
    if args.file:
        with open(args.file, encoding="utf-8") as request:
            args.request = request.read()
    if not args.echo and not args.request:
        parser.error("give a request, --file or --echo")
    return args


def main(argv):
    args = parse_args(argv)
    if args.verbose:
        logging.getLogger().setLevel(logging.DEBUG)
    phone = Phone(args)
    # Loopback without TLS: the server offers no STARTTLS, and SCRAM needs none.
    phone.connect(address=(args.server, args.port), disable_starttls=True, force_starttls=False)
    loop = asyncio.get_event_loop()
    try:
        if args.echo:
            loop.run_until_complete(phone.finished.wait())
        else:
            loop.run_until_complete(asyncio.wait_for(phone.finished.wait(), args.timeout))
    except asyncio.TimeoutError:
        phone.finish(2, "no answer within %g seconds" % args.timeout)
    except KeyboardInterrupt:
        phone.finish(0)
    code, text = phone.outcome
    phone.disconnect()
    if text:
        print(text, file=sys.stdout if code == 0 else sys.stderr, flush=True)
    return code


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
