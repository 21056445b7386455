#!/usr/bin/python3
"""Reads the 200,000 x 10 workbook with the program's reader and with openpyxl in read-only mode,
side by side in one run, and prints seconds, peak memory and the ratio.

usage: xlsx_read_compare.py XLSX_READ_BENCH [WORKDIR]
XLSX_READ_BENCH is the XlsxReadBench program of a Release build; it writes the workbook (with the
program's own writer) into WORKDIR (a temporary folder by default) and reads it three times.
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
        theirs = run_openpyxl(path)
    finally:
        if len(sys.argv) <= 2:
            shutil.rmtree(workdir, ignore_errors=True)
    print("%-28s %10s %12s %12s" % ("reader", "seconds", "peak MiB", "cells"))
    print("%-28s %10.3f %12.0f %12d" % ("Tessaly XlsxReader", ours[0], ours[1], ours[2]))
    print("%-28s %10.3f %12.0f %12d" % ("openpyxl read-only", theirs[0], theirs[1], theirs[2]))
    print("openpyxl / ours: %.1fx the time" % (theirs[0] / ours[0]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
