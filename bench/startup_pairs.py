#!/usr/bin/env python3
"""Start-up to the first paint of one or more programs against the empty Qt window, run
round by round: each round runs the baseline and every program (in a rotating order), so
that all see the same load. Prints per program the medians of wall time and of peak
resident memory, and the medians of each round's ratios to the baseline.
Usage: startup_pairs.py ROUNDS BASELINE PROGRAM [PROGRAM...]"""
import os, statistics, sys, time


def run(path):
    start = time.perf_counter()
    pid = os.fork()
    if pid == 0:
        fd = os.open(os.devnull, os.O_RDWR)
        os.dup2(fd, 1)
        os.dup2(fd, 2)
        os.execv(path, [path])
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{path} failed")
    return elapsed, usage.ru_maxrss / 1024.0  # MiB


rounds, paths = int(sys.argv[1]), sys.argv[2:]
for path in paths * 3:
    run(path)
results = {path: [] for path in paths}
for i in range(rounds):
    order = paths[i % len(paths):] + paths[:i % len(paths)]
    results_now = {path: run(path) for path in order}
    for path in paths:
        results[path].append(results_now[path])
median = statistics.median
base = results[paths[0]]
for path in paths:
    rows = results[path]
    line = f"{path}: {median(r[0] for r in rows) * 1000:.1f} ms, {median(r[1] for r in rows):.1f} MiB"
    if path != paths[0]:
        line += (f"; ratio time {median(r[0] / b[0] for r, b in zip(rows, base)):.2f},"
                 f" memory {median(r[1] / b[1] for r, b in zip(rows, base)):.2f}")
    print(line)
