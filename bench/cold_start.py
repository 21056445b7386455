#!/usr/bin/python3
"""Cold start: time from starting tessaly-designer to its main window shown, under a private Xvfb.

Each run is a new process; "first start" runs in a new home (the data folder is filled first),
"later start" in a home that already has it. Prints the median and the range of each.
    bench/cold_start.py [build-dir] [runs]"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TITLE = "Tessaly Greeting Designer"


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


def window_shown(env):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", TITLE], env=env,
                       capture_output=True, text=True)
    return bool(r.stdout.strip())


def one_start(program, env):
    began = time.perf_counter()
    app = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        while not window_shown(env):
            if app.poll() is not None:
                raise RuntimeError("the program ended early: %s" % app.stderr.read().decode(errors="replace"))
            if time.perf_counter() - began > 30:
                raise RuntimeError("no window within 30 s")
            time.sleep(0.005)
        return time.perf_counter() - began
    finally:
        app.kill()
        app.wait()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "../build/release")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    program = os.path.join(build, "src/app/tessaly-designer")
    xvfb, display = start_xvfb()
    try:
        results = {"first start": [], "later start": []}
        for _ in range(runs):
            home = tempfile.mkdtemp(prefix="tessaly-bench-")
            env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home, XDG_RUNTIME_DIR=home,
                       XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"))
            results["first start"].append(one_start(program, env))
            results["later start"].append(one_start(program, env))
            shutil.rmtree(home, ignore_errors=True)
        for name, times in results.items():
            print("%-12s median %.3f s (%.3f to %.3f s, %d runs)" %
                  (name, statistics.median(times), min(times), max(times), len(times)))
    finally:
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    main()
