#!/usr/bin/env python3
# The soak run's growth judgement on made-up sessions: plateaus pass, whatever keeps rising fails.
# Usage: soak_trend_test.py path/to/scripts
import os
import random
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, sys.argv.pop(1) if len(sys.argv) > 1 else
                os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import soak_trend  # noqa: E402

WARMUP = 20
BASE_KB = 150000


def session(memory, files=lambda i, t: 8, seconds=120, interval=2):
    """Samples every `interval` s; memory(i, t) and files(i, t) give each sample's values."""
    return [(t, int(memory(i, t)), int(files(i, t)))
            for i, t in enumerate(range(0, seconds + 1, interval))]


noise = random.Random(7)

CASES = [
    # name, samples, passes, what a failure names
    ("flat", session(lambda i, t: BASE_KB), True, None),
    ("noisy plateau", session(lambda i, t: BASE_KB + noise.randint(-400, 400)), True, None),
    ("start-up growth inside the warm-up",
     session(lambda i, t: 90000 + 3000 * t if t < WARMUP else BASE_KB), True, None),
    ("one step early on, then flat",
     session(lambda i, t: BASE_KB + (3000 if t >= 30 else 0)), True, None),
    ("slight drift within the margin", session(lambda i, t: BASE_KB + 20 * t), True, None),
    ("memory given back over time", session(lambda i, t: BASE_KB - 30 * t), True, None),
    ("staircase: a step every round",
     session(lambda i, t: BASE_KB + 4000 * (t // 20)), False, "memory"),
    ("steady leak", session(lambda i, t: BASE_KB + 300 * t), False, "memory"),
    ("slow leak that only a long session shows",
     session(lambda i, t: BASE_KB + 20 * t, seconds=1800), False, "memory"),
    ("long noisy plateau",
     session(lambda i, t: BASE_KB + noise.randint(-3000, 3000), seconds=1800), True, None),
    ("late jump that stays", session(lambda i, t: BASE_KB + (12000 if t >= 90 else 0)),
     False, "memory"),
    ("files held open one by one",
     session(lambda i, t: BASE_KB, files=lambda i, t: 8 + t // 30), False, "open files"),
    ("one file opened late and kept",
     session(lambda i, t: BASE_KB, files=lambda i, t: 9 if t >= 80 else 8), True, None),
    ("two files more at the end for good",
     session(lambda i, t: BASE_KB, files=lambda i, t: 10 if t >= 80 else 8), False, "open files"),
    ("a staging file caught open now and then",
     session(lambda i, t: BASE_KB, files=lambda i, t: 9 if i % 7 == 3 else 8), True, None),
    ("both leaking", session(lambda i, t: BASE_KB + 300 * t, files=lambda i, t: 8 + t // 30),
     False, "memory"),
    ("too short to judge", session(lambda i, t: BASE_KB, seconds=30), False, "too few"),
    ("nothing after the warm-up", [], False, "too few"),
]


class JudgeTest(unittest.TestCase):
    def test_sessions(self):
        for name, samples, passes, named in CASES:
            with self.subTest(name):
                passed, report = soak_trend.judge(samples, WARMUP)
                self.assertEqual(passed, passes, "\n".join(report))
                failures = [line for line in report if line.startswith("FAIL")]
                self.assertEqual(bool(failures), not passes, "\n".join(report))
                if named:
                    self.assertIn(named, failures[0])

    def test_both_leaks_are_named(self):
        samples = session(lambda i, t: BASE_KB + 300 * t, files=lambda i, t: 8 + t // 30)
        _, report = soak_trend.judge(samples, WARMUP)
        failures = " ".join(line for line in report if line.startswith("FAIL"))
        self.assertIn("memory", failures)
        self.assertIn("open files", failures)

    def test_summary_figures(self):
        samples = session(lambda i, t: BASE_KB + (5000 if t == 60 else 0) + t)
        _, report = soak_trend.judge(samples, WARMUP)
        text = "\n".join(report)
        self.assertIn("samples: 61 (51 after 20 s of warm-up)", text)
        self.assertIn("start %d KB, end %d KB, peak %d KB" % (BASE_KB + 20, BASE_KB + 120,
                                                             BASE_KB + 5060), text)
        self.assertIn("open files: start 8, end 8, peak 8", text)


class MedianTest(unittest.TestCase):
    def test_values(self):
        for values, expected in [([5], 5), ([3, 1, 2], 2), ([4, 1, 3, 2], 2.5), ([7, 7, 1, 7], 7)]:
            with self.subTest(values=values):
                self.assertEqual(soak_trend.median(values), expected)


class FileTest(unittest.TestCase):
    def run_on(self, text, warmup="0"):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "samples")
            with open(path, "w") as f:
                f.write(text)
            return subprocess.run([sys.executable, soak_trend.__file__, path, warmup],
                                  capture_output=True, text=True)

    def test_exit_status(self):
        flat = "".join("%d %d 8\n" % (t, BASE_KB) for t in range(0, 60, 2))
        rising = "".join("%d %d 8\n" % (t, BASE_KB + 500 * t) for t in range(0, 60, 2))
        for name, text, status in [("flat", flat, 0), ("rising", rising, 1),
                                   ("garbage lines skipped", "x y z\n1 2\n" + flat, 0),
                                   ("empty", "", 1)]:
            with self.subTest(name):
                result = self.run_on(text)
                self.assertEqual(result.returncode, status, result.stdout + result.stderr)

    def test_usage(self):
        result = subprocess.run([sys.executable, soak_trend.__file__], capture_output=True)
        self.assertEqual(result.returncode, 2)


if __name__ == "__main__":
    unittest.main()
