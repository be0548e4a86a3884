#!/usr/bin/python3
"""The whole-process figures of bench/figures.py: the phone's round trips, the
allowance they are held to, and that a failing program never makes its figure."""
import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))
import figures  # noqa: E402


def run(function, *args):
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        function(*args)
    return [line.split("\t") for line in out.getvalue().splitlines()]


def log(text):
    handle = tempfile.NamedTemporaryFile("w", suffix=".log", delete=False, encoding="utf-8")
    handle.write(text)
    handle.close()
    return handle.name


class PhoneFigure(unittest.TestCase):
    def test_the_median_is_held_to_the_floor_times_the_factor_plus_the_action(self):
        floor = log("".join("round trip %d: %g ms\n" % (i, v) for i, v in enumerate([10, 10, 10], 1)))
        cases = [
            ([15.0, 16.0, 17.0], 4.0, True),   # 16 <= 1.2 * 10 + 4
            ([15.0, 16.5, 17.0], 4.0, False),
            ([1.0, 12.0, 99.0], 0.0, True),    # the median decides, not the worst
        ]
        for client_trips, action, met in cases:
            client = log("".join("round trip %d: %g ms\n" % (i, v) for i, v in enumerate(client_trips, 1)))
            lines = run(figures.phone, "phone round trip", 1.2, action, client, floor)
            figure = [line for line in lines if line[0] == "FIGURE"]
            self.assertEqual(1, len(figure), lines)
            self.assertEqual("1" if met else "0", figure[0][4], (client_trips, action))

    def test_no_round_trips_is_no_figure_met(self):
        empty = log("the phone could not sign in\n")
        lines = run(figures.phone, "phone round trip", 1.2, 0.0, empty, empty)
        self.assertEqual(["FIGURE", "phone round trip", "not measured"], lines[-1][:3])
        self.assertEqual("0", lines[-1][4])


class PairFigure(unittest.TestCase):
    def test_a_program_that_fails_does_not_meet_its_goal_however_fast(self):
        lines = run(figures.pair, "start-up", 1000.0, 2, "false", "true")
        figure = [line for line in lines if line[0] == "FIGURE"][0]
        self.assertEqual("0", figure[4])
        self.assertIn("exit codes [1]", [line for line in lines if line[0] == "DETAIL"][0][1])


if __name__ == "__main__":
    unittest.main()
