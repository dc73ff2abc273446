#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Python package's array loop against the same loop in C.

Times quellis.efficiencies over the 100000 spheres of bench_library's
CrossSectionLoop (m = 1.5 + 0.1i, x evenly spaced from 0.1 to 20) and
compares the processor time per element with that benchmark's (processor
time, not elapsed time, so that other work on a shared machine does not
count); the goal is at most 1.5 times the C loop's. Also reports the peak memory the call takes
(numpy's allocations, traced) against the memory of its outputs.

Usage: bench_python_loops.py BENCH_LIBRARY   (with the package on PYTHONPATH)
"""

import json
import subprocess
import sys
import time
import tracemalloc

import numpy as np

import quellis

ELEMENTS = 100_000
GOAL = 1.5


def c_loop_seconds_per_element(bench_library):
    output = subprocess.run(
        [bench_library, "--benchmark_filter=^CrossSectionLoop$", "--benchmark_format=json",
         "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True,
    ).stdout
    runs = json.loads(output)["benchmarks"]
    best = min(run["cpu_time"] for run in runs if run["aggregate_name"] == "median")
    unit = {"ms": 1e-3, "us": 1e-6, "ns": 1e-9}[runs[0]["time_unit"]]
    return best * unit / ELEMENTS


def python_seconds_per_element(x, m):
    best = float("inf")
    for _ in range(3):
        start = time.process_time()
        quellis.efficiencies(x, m)
        best = min(best, time.process_time() - start)
    return best / ELEMENTS


def peak_memory_over_output(x, m):
    tracemalloc.start()
    outputs = quellis.efficiencies(x, m)
    _, peak = tracemalloc.get_traced_memory()
    tracemalloc.stop()
    return peak / sum(output.nbytes for output in outputs)


def main():
    x = np.linspace(0.1, 20.0, ELEMENTS)
    m = 1.5 + 0.1j
    c_time = c_loop_seconds_per_element(sys.argv[1])
    python_time = python_seconds_per_element(x, m)
    ratio = python_time / c_time
    memory = peak_memory_over_output(x, m)
    print(f"quellis.efficiencies over {ELEMENTS} spheres: {python_time * 1e9:.0f} ns per element, "
          f"C loop {c_time * 1e9:.0f} ns: {ratio:.2f} times (goal at most {GOAL}): "
          f"{'met' if ratio <= GOAL else 'NOT met'}")
    print(f"peak memory of the call: {memory:.2f} times its outputs' {3 * 8 * ELEMENTS / 1e6:.1f} MB")


if __name__ == "__main__":
    main()
