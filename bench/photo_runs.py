#!/usr/bin/python3
"""Photo cards as a user runs them, through cardtool, each run a process of its own measured by
/usr/bin/time (wall time, peak resident size), with the load average beside each:
  print   1,000 labels of a card covered by a 12 MP photo, 2 x 5 on A4: time, peak memory, PDF size,
          the image objects the PDF holds and whether poppler's pdfimages reads it without a word;
  bound   1,000 cards with three photos bound to series naming 12 different 12 MP photos, against
          the same cards with the photos placed, 300 dpi, on 8 threads and on 1;
  cover   16 cards each covered by 5 different 12 MP photos, 1,200 dpi on 8 threads: peak memory.
    bench/photo_runs.py CARDTOOL [--before CARDTOOL] [--runs N]

--before times another build's cardtool in the same runs, alternating with this one. The photos
are made with ImageMagick's convert; the designs with this cardtool's design-hand."""

import argparse
import os
import re
import subprocess
import tempfile


def timed(command):
    """Wall seconds and peak resident MB of one run (the command must succeed)."""
    result = subprocess.run(["/usr/bin/time", "-f", "TIME %e %M"] + command, capture_output=True, text=True)
    if result.returncode != 0:
        raise SystemExit(" ".join(command) + " failed:\n" + result.stderr)
    seconds, kib = re.findall(r"TIME ([\d.]+) (\d+)", result.stderr)[-1]
    return float(seconds), int(kib) * 1024 / 1e6


def load():
    return open("/proc/loadavg").read().split()[0]


def write_series(folder, name, lines):
    with open(os.path.join(folder, name + ".txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


def photos(folder, count):
    paths = []
    for i in range(count):
        path = os.path.join(folder, "photo%d.jpg" % i)
        subprocess.run(["convert", "-seed", str(i + 1), "-size", "4000x3000", "plasma:fractal", "-quality", "85",
                        path], check=True)
        paths.append(path)
    return paths


def image_objects(pdf):
    listed = subprocess.run(["pdfimages", "-list", pdf], capture_output=True, text=True)
    ids = {line.split()[10] for line in listed.stdout.splitlines()[2:] if len(line.split()) > 10}
    return len(ids), len(listed.stderr.strip().splitlines())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cardtool")
    parser.add_argument("--before")
    parser.add_argument("--runs", type=int, default=2)
    args = parser.parse_args()
    tools = [("before", args.before)] if args.before else []
    tools.append(("now", args.cardtool))
    work = tempfile.mkdtemp(prefix="photo-runs-")
    pics = photos(work, 12)
    data = os.path.join(work, "DataSet")
    os.makedirs(data)
    write_series(data, "names", ["Guest Number %d" % (i + 1) for i in range(1000)])
    for s in range(3):
        write_series(data, "photo%d" % s, [pics[(i * (s + 1) + 5 * (s + 1)) % 12] for i in range(1000)])
    few = os.path.join(work, "Few")
    os.makedirs(few)
    write_series(few, "names", ["Guest %d" % (i + 1) for i in range(16)])
    boxes = ["8,90,70,52", "86,90,70,52", "164,90,70,52"]
    designs = {
        "print": ["--picture", "0,0,243,154=" + pics[0]],
        "placed": sum((["--picture", b + "=" + pics[i]] for i, b in enumerate(boxes)), []),
        "bound": sum((["--picture-series", b + "=photo%d" % i] for i, b in enumerate(boxes)), []),
        "cover": sum((["--picture", "0,0,243,154=" + p] for p in pics[:5]), []),
    }
    for name, objects in designs.items():
        subprocess.run([args.cardtool, "design-hand", os.path.join(work, name + ".dcard"), "--text-series", "names"]
                       + objects, check=True, capture_output=True)

    def export(tool, design, folder, extra):
        out = os.path.join(work, "out")
        subprocess.run(["rm", "-rf", out], check=True)
        return timed([tool, "export", os.path.join(work, design + ".dcard"), "--to", out, "--side", "front",
                      "--data", folder] + extra)

    for run in range(args.runs):
        for label, tool in tools:
            pdf = os.path.join(work, "labels.pdf")
            seconds, mb = timed([tool, "print", os.path.join(work, "print.dcard"), "--out", pdf, "--paper", "A4",
                                 "--rows", "5", "--cols", "2", "--data", data])
            objects, complaints = image_objects(pdf)
            print("%-6s print 1,000 labels: %.2f s, %.0f MB peak, PDF %.1f MB, %d image objects, "
                  "%d lines from pdfimages (load %s)"
                  % (label, seconds, mb, os.path.getsize(pdf) / 1e6, objects, complaints, load()), flush=True)
            for threads in ("8", "1"):
                for design in ("placed", "bound"):
                    seconds, mb = export(tool, design, data, ["--dpi", "300", "--threads", threads])
                    print("%-6s 1,000 cards, photos %s, %s thread(s): %.2f s, %.0f MB peak (load %s)"
                          % (label, design, threads, seconds, mb, load()), flush=True)
            seconds, mb = export(tool, "cover", few, ["--dpi", "1200", "--threads", "8"])
            print("%-6s 16 cards under 5 photos, 1,200 dpi, 8 threads: %.2f s, %.0f MB peak (load %s)"
                  % (label, seconds, mb, load()), flush=True)
    subprocess.run(["rm", "-rf", work], check=True)


if __name__ == "__main__":
    main()
