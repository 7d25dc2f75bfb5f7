#!/usr/bin/env python3
"""Judges the samples of a long play session: resident memory and open files must level off.

Usage: soak_trend.py SAMPLES WARMUP_SECONDS
SAMPLES holds one line per sample, "seconds resident_kb open_files". Samples taken before
WARMUP_SECONDS are left out (start-up and the first level load grow memory once). What remains
is cut into quarters; the median of the last quarter is compared with the median of the second.
A plateau passes, with a small margin for the allocator's noise; memory or files that keep
rising fail. Medians make one sample caught in the middle of a load (a staging file open, a
buffer not yet freed) count for nothing. Prints a summary; exit status 1 on growth or too few
samples.
"""
import sys

# Memory may sit this much above the earlier level (a fraction of it, plus a fixed slack for
# small processes) before it counts as growth.
MEMORY_MARGIN = 0.05
MEMORY_SLACK_KB = 2048
# Open files may be one more than before (a library that opens its connection late, such as the
# desktop bus, and keeps it); more than that counts as growth.
FILES_MARGIN = 1
MIN_SAMPLES = 8


def median(values):
    ordered = sorted(values)
    n = len(ordered)
    mid = n // 2
    return ordered[mid] if n % 2 else (ordered[mid - 1] + ordered[mid]) / 2


def parse(lines):
    samples = []
    for line in lines:
        fields = line.split()
        if len(fields) != 3:
            continue
        try:
            samples.append((float(fields[0]), int(fields[1]), int(fields[2])))
        except ValueError:
            continue
    return samples


def judge(samples, warmup):
    """Returns (passed, report lines) for samples of (seconds, resident_kb, open_files)."""
    kept = [s for s in samples if s[0] >= warmup]
    report = ["samples: %d (%d after %.0f s of warm-up)" % (len(samples), len(kept), warmup)]
    if len(kept) < MIN_SAMPLES:
        report.append("FAIL: too few samples after warm-up to judge growth (need %d)" % MIN_SAMPLES)
        return False, report
    q = len(kept) // 4
    second, last = kept[q:2 * q], kept[-q:]
    rss = [s[1] for s in kept]
    files = [s[2] for s in kept]
    report.append("memory (resident): start %d KB, end %d KB, peak %d KB" %
                  (rss[0], rss[-1], max(s[1] for s in samples)))
    m2, m4 = median(s[1] for s in second), median(s[1] for s in last)
    report.append("memory medians: second quarter %.0f KB, last quarter %.0f KB (%+.1f %%)" %
                  (m2, m4, 100.0 * (m4 - m2) / m2 if m2 else 0.0))
    report.append("open files: start %d, end %d, peak %d" %
                  (files[0], files[-1], max(s[2] for s in samples)))
    f2, f4 = median(s[2] for s in second), median(s[2] for s in last)
    report.append("open-file medians: second quarter %g, last quarter %g" % (f2, f4))
    passed = True
    if m4 > m2 * (1 + MEMORY_MARGIN) + MEMORY_SLACK_KB:
        report.append("FAIL: resident memory keeps growing (%.0f KB -> %.0f KB)" % (m2, m4))
        passed = False
    if f4 > f2 + FILES_MARGIN:
        report.append("FAIL: open files keep growing (%g -> %g)" % (f2, f4))
        passed = False
    return passed, report


def main(argv):
    if len(argv) != 3:
        print("usage: soak_trend.py SAMPLES WARMUP_SECONDS", file=sys.stderr)
        return 2
    with open(argv[1]) as f:
        samples = parse(f)
    passed, report = judge(samples, float(argv[2]))
    print("\n".join(report))
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
