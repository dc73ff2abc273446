#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""velmora-fit.exe against the Linux build's velmora-fit on the demo measurement.

Runs every case below with both programs: the Linux one natively, the Windows
one under wine, all cases in one wine start (a batch file). Each case's result
table (standard output) and resonance table (--resonance, the saved format)
must be the same bytes on both, except the rows named in near-ties.txt: rows
where the platforms' sine, exponential or power round a last bit differently
and a near tie between two candidates falls the other way. Every differing
row is printed with both versions.

Usage: compare_demo_tables.py LINUX_PROGRAM WINDOWS_PROGRAM WINE_RUNNER
                              DEMO_FILE NEAR_TIES_FILE SCRATCH_DIR
"""
import pathlib
import shutil
import subprocess
import sys

# The direct engine's free-parameter fit of the whole demo takes minutes; it
# runs on the first time points over a narrower damping range, which still
# takes every step of the fit.
SHORT_DEMO_LINES = 20
CASES = [
    ("R-fast", ["--engine", "fast"], "demo"),
    ("R-direct", ["--engine", "direct"], "demo"),
    ("R-Lorents-fast", ["--model", "Lorents", "--engine", "fast"], "demo"),
    ("R-Lorents-direct", ["--model", "Lorents", "--engine", "direct"], "demo"),
    ("GR1-fast", ["--mode", "GR1", "--engine", "fast"], "demo"),
    ("GR1-direct", ["--mode", "GR1", "--engine", "direct", "--gamma-min", "0.6",
                    "--gamma-max", "1.4"], "short"),
    ("GR1-short-fast", ["--mode", "GR1", "--engine", "fast", "--gamma-min", "0.6",
                        "--gamma-max", "1.4"], "short"),
    ("GR2-fast", ["--mode", "GR2", "--engine", "fast"], "demo"),
    ("GR2-direct", ["--mode", "GR2", "--engine", "direct"], "demo"),
    ("none-fast", ["--mode", "none", "--engine", "fast"], "demo"),
    ("none-direct", ["--mode", "none", "--engine", "direct"], "demo"),
]
TABLES = [("result", ".out"), ("resonance", "_WR.dat")]


def windows_path(path):
    """The path as wine's Windows programs see it: drive Z: is the root."""
    return "Z:" + str(path.resolve()).replace("/", "\\")


def case_arguments(case, data, outputs):
    name, options, demo = case
    return options + ["--resonance", str(outputs / (name + "_WR.dat")), str(data[demo])]


def run_linux(program, data, outputs):
    for case in CASES:
        name = case[0]
        arguments = case_arguments(case, data, outputs)
        with open(outputs / (name + ".out"), "wb") as out:
            status = subprocess.run([program] + arguments, stdout=out).returncode
        (outputs / (name + ".rc")).write_text(f"{status}\n")


def run_windows(program, wine, data, outputs):
    lines = ["@echo off"]
    for case in CASES:
        name = case[0]
        arguments = case_arguments(case, data, outputs)
        arguments = [windows_path(pathlib.Path(a)) if a.startswith("/") else a
                     for a in arguments]
        quoted = " ".join(f'"{a}"' for a in arguments)
        lines.append(f'"{windows_path(program)}" {quoted} > "{windows_path(outputs / name)}.out"')
        lines.append(f'echo %ERRORLEVEL% > "{windows_path(outputs / name)}.rc"')
    batch = outputs / "cases.bat"
    batch.write_bytes(("\r\n".join(lines) + "\r\n").encode())
    subprocess.run([str(wine), "cmd", "/c", windows_path(batch)], check=True)


def read_near_ties(path):
    """The rows that may differ: (case, table, first field) per line."""
    ties = set()
    for line in path.read_text().splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            case, table, time = line.split()
            ties.add((case, table, time))
    return ties


def differing_rows(linux_text, windows_text):
    linux_rows = linux_text.split("\n")
    windows_rows = windows_text.split("\n")
    if len(linux_rows) != len(windows_rows):
        return None
    return [(n, a, b) for n, (a, b) in enumerate(zip(linux_rows, windows_rows)) if a != b]


def compare(linux_dir, windows_dir, ties):
    failures = []
    seen_ties = set()
    for name, _, _ in CASES:
        linux_status = (linux_dir / f"{name}.rc").read_text().strip()
        windows_status = (windows_dir / f"{name}.rc").read_text().strip()
        if linux_status != "0" or windows_status != "0":
            failures.append(f"{name}: exit status {linux_status} on Linux, "
                            f"{windows_status} on Windows")
        for table, suffix in TABLES:
            linux_bytes = (linux_dir / (name + suffix)).read_bytes()
            windows_bytes = (windows_dir / (name + suffix)).read_bytes()
            if linux_bytes == windows_bytes:
                continue
            rows = differing_rows(linux_bytes.decode(), windows_bytes.decode())
            if rows is None:
                failures.append(f"{name} {table}: the line counts differ")
                continue
            for number, linux_row, windows_row in rows:
                time = linux_row.split("\t", 1)[0]
                key = (name, table, time)
                listed = key in ties
                print(f"{'near tie' if listed else 'DIFFERS'}: {name} {table} row {number} "
                      f"(Time {time})\n  Linux:   {linux_row!r}\n  Windows: {windows_row!r}")
                if listed:
                    seen_ties.add(key)
                else:
                    failures.append(f"{name} {table} row {number} (Time {time}) differs")
    for key in sorted(ties - seen_ties):
        print(f"listed near tie now the same on both: {' '.join(key)}")
    return failures


def main():
    linux, windows, wine, demo, near_ties, scratch = map(pathlib.Path, sys.argv[1:7])
    if not linux.exists():
        sys.exit(f"The Linux build's velmora-fit is missing at {linux}: build it first (make build)")
    shutil.rmtree(scratch, ignore_errors=True)
    linux_dir, windows_dir = scratch / "linux", scratch / "windows"
    linux_dir.mkdir(parents=True)
    windows_dir.mkdir()
    short_demo = scratch / "ShortDemo.txt"
    short_demo.write_bytes(b"".join(demo.read_bytes().splitlines(True)[:SHORT_DEMO_LINES]))
    data = {"demo": demo, "short": short_demo}

    run_linux(linux, data, linux_dir)
    run_windows(windows, wine, data, windows_dir)
    failures = compare(linux_dir, windows_dir, read_near_ties(near_ties))
    compared = len(CASES) * len(TABLES)
    if failures:
        print("\n".join(["FAILED:"] + failures))
        return 1
    print(f"velmora-fit.exe gives the Linux build's tables in all {compared} comparisons")
    return 0


if __name__ == "__main__":
    sys.exit(main())
