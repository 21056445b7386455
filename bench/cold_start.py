#!/usr/bin/python3
"""Cold start: time from starting tessaly-designer to its main window shown, under a private Xvfb.

Each run is a new process; "first start" runs in a new home (the data folder is filled first),
"later start" in a home that already has it. Prints the median and the range of each: the wall
time, and the CPU time the process had used when its window was seen (all its threads, from
/proc/<pid>/task/*/schedstat, in nanoseconds).
    bench/cold_start.py [build-dir] [runs] [--before PROGRAM] [--glabels]

--before PROGRAM times another build of tessaly-designer in the same runs, alternating with this
one, so that both see the same machine. --glabels times Debian's glabels-3 the same way (installed
with apt-get when missing; no part of the build or the tests) and prints the ratios."""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TITLE = "Tessaly Greeting Designer"
GLABELS_TITLE = "gLabels"


def start_xvfb():
    read_end, write_end = os.pipe()
    # -noreset: a server that resets when its last client leaves refuses a client meanwhile.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def window_shown(env, title):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], env=env,
                       capture_output=True, text=True)
    return bool(r.stdout.strip())


def cpu_seconds(pid):
    """CPU time of every live thread of the process (threads already ended are not counted)."""
    total = 0
    try:
        for task in os.listdir("/proc/%d/task" % pid):
            try:
                with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                    total += int(f.read().split()[0])
            except (FileNotFoundError, ProcessLookupError):
                pass
    except FileNotFoundError:
        pass
    return total / 1e9


def one_start(command, env, title=TITLE):
    """(wall, cpu) seconds from starting the program to its window seen."""
    began = time.perf_counter()
    app = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        while not window_shown(env, title):
            if app.poll() is not None:
                raise RuntimeError("the program ended early: %s" % app.stderr.read().decode(errors="replace"))
            if time.perf_counter() - began > 30:
                raise RuntimeError("no window within 30 s")
            time.sleep(0.005)
        wall = time.perf_counter() - began
        return wall, cpu_seconds(app.pid)
    finally:
        app.kill()
        app.wait()


def ensure_glabels():
    if shutil.which("glabels-3"):
        return
    apt = ["apt-get", "install", "-y", "--no-install-recommends", "glabels"]
    if os.geteuid() != 0:
        apt = ["sudo"] + apt
    subprocess.run(apt, check=True, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"),
                   stdout=subprocess.DEVNULL)


def summary(values):
    ms = [v * 1000 for v in values]
    return "%7.1f ms (%.1f to %.1f)" % (statistics.median(ms), min(ms), max(ms))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    args = sys.argv[1:]
    before = None
    if "--before" in args:
        i = args.index("--before")
        before = os.path.abspath(args[i + 1])
        del args[i:i + 2]
    glabels = "--glabels" in args
    args = [a for a in args if a != "--glabels"]
    build = args[0] if args else os.path.join(here, "../build/release")
    runs = int(args[1]) if len(args) > 1 else 10
    programs = [("this build", os.path.join(build, "src/app/tessaly-designer"))]
    if before:
        programs.append(("before", before))
    if glabels:
        ensure_glabels()
    xvfb, display = start_xvfb()
    load = os.getloadavg()[0]
    # Every run's home stays until the end: on ext4 without a journal, files made soon after many
    # deletions make the kernel search past the deleted inodes, a cost of the series' own clean-up
    # that a first start would otherwise pay while filling its data folder.
    homes = []

    def new_home():
        homes.append(tempfile.mkdtemp(prefix="tessaly-bench-"))
        return homes[-1]

    try:
        results = {}
        for _ in range(runs):
            for name, program in programs:
                home = new_home()
                env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home, XDG_RUNTIME_DIR=home,
                           XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"))
                results.setdefault((name, "first start"), []).append(one_start([program], env))
                results.setdefault((name, "later start"), []).append(one_start([program], env))
            if glabels:
                home = new_home()
                env = dict(os.environ, DISPLAY=display, HOME=home, XDG_RUNTIME_DIR=home,
                           XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"))
                results.setdefault(("glabels-3", "first start"), []).append(
                    one_start(["glabels-3"], env, GLABELS_TITLE))
                results.setdefault(("glabels-3", "later start"), []).append(
                    one_start(["glabels-3"], env, GLABELS_TITLE))
        print("%d runs each, alternating; load average %.1f at the start, %.1f at the end" %
              (runs, load, os.getloadavg()[0]))
        for (name, kind), pairs in results.items():
            print("%-10s %-12s wall %s  CPU %s" % (name, kind, summary([p[0] for p in pairs]),
                                                  summary([p[1] for p in pairs])))
        if glabels:
            for name, _ in programs:
                for kind in ("first start", "later start"):
                    mine, peer = results[(name, kind)], results[("glabels-3", kind)]
                    print("%-10s %s vs glabels-3's: wall %.3fx, CPU %.3fx" % (
                        name, kind, statistics.median(p[0] for p in mine) / statistics.median(p[0] for p in peer),
                        statistics.median(p[1] for p in mine) / statistics.median(p[1] for p in peer)))
    finally:
        xvfb.terminate()
        xvfb.wait()
        for home in homes:
            shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
