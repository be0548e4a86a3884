#!/usr/bin/python3
"""Whole-process figures for scripts/bench.sh, printed in the benchmark
programs' own line format (FIGURE and DETAIL lines, tab-separated).

  figures.py pair NAME GOAL RUNS 'COMMAND' 'FLOOR COMMAND'
      runs the two commands in turn (one uncounted warm-up each, then RUNS
      pairs, A B A B ...) and rates each run of COMMAND against the FLOOR run
      beside it: a drift of the machine's speed touches both alike.
  figures.py phone NAME FACTOR ACTION_MS CLIENT_LOG FLOOR_LOG
      the client's round trips against FACTOR times the floor's plus the
      action's own time; the logs hold "round trip N: X ms" lines.
"""
import re
import shlex
import statistics
import subprocess
import sys
import time


def figure(name, value, goal, met):
    print("FIGURE\t%s\t%s\t%s\t%d" % (name, value, goal, 1 if met else 0), flush=True)


def detail(text):
    print("DETAIL\t%s" % text, flush=True)


def timed(command):
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return (time.perf_counter() - start) * 1000.0, result.returncode


def pair(name, goal, runs, command, floor_command):
    a, b = shlex.split(command), shlex.split(floor_command)
    timed(a)
    timed(b)
    work, floor, codes = [], [], set()
    for _ in range(runs):
        ms, code = timed(a)
        work.append(ms)
        codes.add(code)
        floor.append(timed(b)[0])
    ratios = [w / f for w, f in zip(work, floor) if f > 0]
    median = statistics.median(ratios)
    detail("%s: %d pairs; run median %.0f ms (min %.0f); floor median %.0f ms (min %.0f); exit codes %s"
           % (name, runs, statistics.median(work), min(work), statistics.median(floor), min(floor),
              sorted(codes)))
    figure(name, "median %.2fx the floor, min %.2fx" % (median, min(ratios)), "<= %gx" % goal,
           median <= goal and codes == {0})


def round_trips(path):
    with open(path, encoding="utf-8") as log:
        return [float(m.group(1)) for m in re.finditer(r"round trip \d+: ([0-9.]+) ms", log.read())]


def phone(name, factor, action_ms, client_log, floor_log):
    client, floor = round_trips(client_log), round_trips(floor_log)
    if not client or not floor:
        detail("%s: no round trips measured (client %d, floor %d)" % (name, len(client), len(floor)))
        figure(name, "not measured", "<= %gx the floor + the action" % factor, False)
        return
    allowed = factor * statistics.median(floor) + action_ms
    detail("%s: %d round trips, median %.1f ms (min %.1f); floor (echo client) %d round trips, median %.1f ms "
           "(min %.1f); the action's own time %.1f ms"
           % (name, len(client), statistics.median(client), min(client), len(floor), statistics.median(floor),
              min(floor), action_ms))
    figure(name, "median %.1f ms, min %.1f ms; floor median %.1f ms, min %.1f ms; %.2fx the allowance"
           % (statistics.median(client), min(client), statistics.median(floor), min(floor),
              statistics.median(client) / allowed),
           "<= %gx the floor + the action (%.1f ms)" % (factor, allowed), statistics.median(client) <= allowed)


def main(argv):
    if len(argv) == 6 and argv[0] == "pair":
        pair(argv[1], float(argv[2]), int(argv[3]), argv[4], argv[5])
    elif len(argv) == 6 and argv[0] == "phone":
        phone(argv[1], float(argv[2]), float(argv[3]), argv[4], argv[5])
    else:
        print(__doc__, file=sys.stderr)
        return 64
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
