#!/usr/bin/python3
"""Reads the 200,000 x 10 workbook with the program's reader, with `cardtool xlsx-read` (the reader
writing every row as JSON, row by row) and with openpyxl in read-only mode, side by side in one
run, and prints seconds, peak memory and the ratios.

usage: xlsx_read_compare.py XLSX_READ_BENCH [WORKDIR]
XLSX_READ_BENCH is the XlsxReadBench program of a Release build; it writes the workbook (with the
program's own writer) into WORKDIR (a temporary folder by default) and reads it three times. The
same build's cardtool reads it three times too.
openpyxl comes from Debian's python3-openpyxl, installed here when missing.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

OPENPYXL_READ = r"""
import sys, time, warnings
warnings.simplefilter("ignore")
import openpyxl
start = time.perf_counter()
wb = openpyxl.load_workbook(sys.argv[1], read_only=True, data_only=True)
rows = [list(r) for r in wb.worksheets[0].iter_rows(values_only=True)]
wb.close()
print(time.perf_counter() - start, len(rows), len(rows[0]) if rows else 0)
"""


def ensure_openpyxl():
    try:
        subprocess.run(["/usr/bin/python3", "-c", "import openpyxl"], check=True, capture_output=True)
        return
    except subprocess.CalledProcessError:
        pass
    prefix = [] if os.geteuid() == 0 else ["sudo"]
    subprocess.run(prefix + ["apt-get", "install", "-y", "python3-openpyxl"], check=True)


def run_program(bench, path):
    env = dict(os.environ, XLSX_BENCH_FILE=path)
    out = subprocess.run([bench, "--benchmark_format=json"], env=env, check=True,
                         capture_output=True, text=True).stdout
    result = json.loads(out)["benchmarks"][0]
    unit = {"s": 1.0, "ms": 1e-3, "us": 1e-6, "ns": 1e-9}[result["time_unit"]]
    return result["real_time"] * unit, result["peak_MiB"], result["cells"]


def cardtool_of(bench):
    """The cardtool program of the build the bench program belongs to."""
    build = os.path.dirname(os.path.dirname(os.path.abspath(bench)))
    return os.path.join(build, "tests", "tools", "cardtool", "cardtool")


def run_cardtool(cardtool, path):
    """`cardtool xlsx-read` writing the whole sheet as JSON: the best of three runs' seconds (its
    output thrown away), with that run's peak memory in MiB; then the cells of one run's JSON."""
    best = None
    for _ in range(3):
        start = time.perf_counter()
        proc = subprocess.Popen([cardtool, "xlsx-read", path, "--sheet", "1"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        seconds = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            raise RuntimeError("cardtool xlsx-read could not read the workbook")
        figure = (seconds, usage.ru_maxrss / 1024.0)
        best = figure if best is None or figure[0] < best[0] else best
    # Counted by a child of its own, so that this process stays small for the peers measured after.
    tool = subprocess.Popen([cardtool, "xlsx-read", path, "--sheet", "1"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    cells = subprocess.run(["/usr/bin/python3", "-c", "import json, sys; print(sum(map(len, json.load(sys.stdin))))"],
                           stdin=tool.stdout, capture_output=True, text=True, check=True).stdout
    tool.stdout.close()
    if tool.wait() != 0:
        raise RuntimeError("cardtool xlsx-read could not read the workbook")
    return best + (int(cells),)


def run_openpyxl(path):
    best = None
    for _ in range(3):
        # The peak of this one child, not of every child so far.
        proc = subprocess.Popen(["/usr/bin/python3", "-c", OPENPYXL_READ, path],
                                stdout=subprocess.PIPE, text=True)
        out = proc.stdout.read()
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)
        if proc.returncode != 0:
            raise RuntimeError("openpyxl could not read the workbook")
        seconds, rows, columns = out.split()
        figure = (float(seconds), usage.ru_maxrss / 1024.0, int(rows) * int(columns))
        best = figure if best is None or figure[0] < best[0] else best
    return best


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    bench = os.path.abspath(sys.argv[1])
    workdir = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="xlsx-bench-")
    path = os.path.join(workdir, "large.xlsx")
    ensure_openpyxl()
    try:
        ours = run_program(bench, path)
        tool = run_cardtool(cardtool_of(bench), path)
        theirs = run_openpyxl(path)
    finally:
        if len(sys.argv) <= 2:
            shutil.rmtree(workdir, ignore_errors=True)
    print("%-28s %10s %12s %12s" % ("reader", "seconds", "peak MiB", "cells"))
    print("%-28s %10.3f %12.0f %12d" % ("Tessaly XlsxReader", ours[0], ours[1], ours[2]))
    print("%-28s %10.3f %12.0f %12d" % ("cardtool xlsx-read (JSON)", tool[0], tool[1], tool[2]))
    print("%-28s %10.3f %12.0f %12d" % ("openpyxl read-only", theirs[0], theirs[1], theirs[2]))
    print("openpyxl / ours: %.1fx the time; openpyxl / cardtool xlsx-read: %.1fx"
          % (theirs[0] / ours[0], theirs[0] / tool[0]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
