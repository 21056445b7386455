#!/usr/bin/python3
"""The window's memory with a design bound to 100,000 rows: tessaly-designer opens a design keeping
the rows (a QR Code bound to the first column; the workbook beside it holds the headings), offscreen,
and once the process has used no CPU for 3 seconds its VmRSS (resident now) and VmHWM (the most) are
read. One run a column count, 2, 10 and 20 unless given.
    bench/window_rows_memory.py [--before other-build-dir] [build-dir] [columns...]
With --before, the same design is opened by the other build's program too, right before this
build's, and both figures are printed side by side.
CARDTOOL names the cardtool that writes the design when the build has none (a build without tests)."""

import os
import plistlib
import subprocess
import sys
import tempfile
import time

import openpyxl

ROWS = 100000


def status(pid):
    out = {}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                out[key] = int(value.split()[0]) / 1024.0
    return out


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as f:
        return f.read().rsplit(")", 1)[1].split()[11:13]


def text(row, column):
    if column % 3 == 0:
        return "Guest %d-%d" % (row, column)
    if column % 3 == 1:
        return "Town %d" % (row % 97)
    return str(row * 7919 + column)


def write_design(folder, cardtool, columns):
    design = os.path.join(folder, "rows.dcard")
    subprocess.run([cardtool, "design-new", design, "--qr-column", "Heading 1"], check=True,
                   capture_output=True, timeout=60)
    with open(design, "rb") as f:
        items = plistlib.load(f)
    titles = next(i for i, item in enumerate(items) if isinstance(item, list))
    headings = ["Heading %d" % (c + 1) for c in range(columns)]
    items[titles - 2] = "Y"
    items[titles - 1] = os.path.join(folder, "guests.xlsx")
    book = openpyxl.Workbook()
    book.active.append(headings)
    book.save(items[titles - 1])
    items[titles] = ["Row"] + headings
    items[titles + 1] = [dict([("Extension", str(r + 1))] +
                              [("Column%d" % (c + 1), text(r, c)) for c in range(columns)])
                         for r in range(ROWS)]
    with open(design, "wb") as f:
        plistlib.dump(items, f, fmt=plistlib.FMT_XML)
    return design


def measure(app, design, home):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=home, XDG_RUNTIME_DIR=home)
    program = subprocess.Popen([app, design], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        last, idle, start = None, 0, time.monotonic()
        while time.monotonic() - start < 180 and idle < 3:
            time.sleep(1)
            ticks = cpu_ticks(program.pid)
            idle = idle + 1 if ticks == last else 0
            last = ticks
        return status(program.pid)
    finally:
        program.terminate()
        program.wait(30)


def main():
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    args = sys.argv[1:]
    before = None
    if args[:1] == ["--before"]:
        before = os.path.abspath(args[1])
        args = args[2:]
    build = os.path.abspath(args[0] if args else os.path.join(here, "build", "dev"))
    counts = [int(a) for a in args[1:]] or [2, 10, 20]
    app = os.path.join(build, "src", "app", "tessaly-designer")
    cardtool = os.environ.get("CARDTOOL") or os.path.join(build, "tests", "tools", "cardtool", "cardtool")
    print("load average %.1f %.1f %.1f" % os.getloadavg())
    for columns in counts:
        with tempfile.TemporaryDirectory() as folder:
            design = write_design(folder, cardtool, columns)
            home = os.path.join(folder, "home")
            os.makedirs(home)
            line = "%6d rows x %2d columns (design file %.0f MB):" % (ROWS, columns, os.path.getsize(design) / 1e6)
            if before:
                b = measure(os.path.join(before, "src", "app", "tessaly-designer"), design, home)
                line += " before VmRSS %4.0f MiB, VmHWM %4.0f MiB;" % (b["VmRSS"], b["VmHWM"])
            s = measure(app, design, home)
            line += " %s VmRSS %4.0f MiB, VmHWM %4.0f MiB" % ("now" if before else "", s["VmRSS"], s["VmHWM"])
            print(line.replace(":  VmRSS", ": VmRSS"), flush=True)
    print("load average %.1f %.1f %.1f" % os.getloadavg())


if __name__ == "__main__":
    main()
