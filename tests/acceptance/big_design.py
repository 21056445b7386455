#!/usr/bin/python3
"""A big design opens and saves without leaving the window dead, in the real windows:
1. A design holding 30 different 12 MP photos, named on the command line: within a second the main
   window is painted (or the please-wait sheet shows) while the photos are read; Tools > Rectangle
   pressed meanwhile does not land in the design, which opens whole (the saved design holds the 30
   photos and nothing else).
2. File > Open of a design bound to 100,000 rows: within a second of Return the open panel is gone
   and the window paints itself again when uncovered; the please-wait sheet shows while the rows
   are read, and a key pressed meanwhile changes nothing.
3. Save of that design: the window paints itself again within a second, then the sheet or the
   saved message shows; the file holds every row."""

import os
import plistlib
import shutil
import subprocess
import sys
import tempfile
import time

import openpyxl
from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import (MAIN_TITLE, AcceptanceError, Session, check, dump_design,  # noqa: E402
                         hand_design, new_design, wait_until)

PHOTOS = 30
ROWS = 100000
SOON = 1.0  # seconds: what "at once" means to a user waiting for a sign of work


def make_photos(folder):
    """30 different 4000 x 3000 photos: a grain that costs what a photo costs to decode, a colour
    and a red block of their own."""
    grain = Image.effect_noise((4000, 3000), 40).convert("RGB")
    paths = []
    for i in range(PHOTOS):
        photo = Image.blend(Image.new("RGB", grain.size, (40 + 7 * i, 200 - 5 * i, 90 + 4 * i)), grain, 0.4)
        ImageDraw.Draw(photo).rectangle((i * 100, i * 80, i * 100 + 800, i * 80 + 600), fill=(255, 0, 0))
        path = os.path.join(folder, "photo%02d.jpg" % i)
        photo.save(path, quality=85)
        paths.append(path)
    return paths


def photo_design(folder):
    design = os.path.join(folder, "photos.dcard")
    placed = []
    for i, path in enumerate(make_photos(folder)):
        placed += ["--picture", "%d,%d,38,28=%s" % ((i % 6) * 40, (i // 6) * 30, path)]
    hand_design(design, *placed, timeout=120)
    return design


def rows_design(folder):
    """A design whose QR Code is bound to the Name column of 100,000 rows kept in the design."""
    design = os.path.join(folder, "rows.dcard")
    new_design(design, "--qr-column", "Name")
    with open(design, "rb") as f:
        items = plistlib.load(f)
    titles = next(i for i, item in enumerate(items) if isinstance(item, list))
    items[titles - 2] = "Y"
    items[titles - 1] = os.path.join(folder, "guests.xlsx")
    # The workbook stands where the design says (one whose workbook is gone is asked about on
    # opening, which gone_workbook.py drives): its headings are enough here.
    book = openpyxl.Workbook()
    book.active.append(["Name", "City"])
    book.save(items[titles - 1])
    items[titles] = ["Row", "Name", "City"]
    items[titles + 1] = [{"Extension": str(k + 1), "Column1": "Guest %d" % k, "Column2": "Town %d" % (k % 97)}
                         for k in range(ROWS)]
    with open(design, "wb") as f:
        plistlib.dump(items, f, fmt=plistlib.FMT_XML)
    return design


def title(s):
    return s.xdotool("getwindowname", s.window, check=False)


def sheets(s):
    """The please-wait sheet and the message boxes: shown windows of the program but the main one
    (the sheet has no title of its own, so it is found by the program's process)."""
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(s.app.pid)], env=s.env,
                       capture_output=True, text=True, timeout=30)
    return [w for w in r.stdout.split() if w != s.window and s.width_of(w) > 0]


def paints_again(s, label):
    """Covers the screen with magenta for a moment (xrefresh): a window that is not dead paints itself
    again at once; a dead one keeps the magenta. The screenshot once the main window has."""
    x, y, w, h = s.geometry(s.window)
    subprocess.run(["xrefresh", "-solid", "magenta"], env=s.env, timeout=30, check=True)

    def painted(path):
        with Image.open(path) as shot:
            face = shot.convert("RGB").crop((x, y, x + w, y + h))
            colours = face.getcolors(maxcolors=w * h)
        return sum(n for n, c in colours if c == (255, 0, 255)) < w * h // 100
    return s.screenshot_when(label, painted, "the window to paint again", SOON)


def wait_for_title(s, name, timeout=120):
    return s.wait_until(lambda: title(s).startswith(name + " ") and title(s), "the title of " + name, timeout)


def step_1(s, design):
    name = os.path.basename(design)
    s.screenshot_painted("opening-photos", s.window, timeout=SOON)
    loading = not title(s).startswith(name)
    if loading:
        # Tools > Rectangle while the photos are read: it must not act on a design half there.
        s.focus()
        s.key("alt+t", "r", delay=0.05)
        loading = not title(s).startswith(name)
        if sheets(s):
            s.screenshot("photos-sheet")
    opened = wait_for_title(s, name)
    s.wait_until(lambda: not sheets(s), "the sheet to close")
    s.screenshot("photos-opened")
    s.save_again()
    kinds = [o["class"] for o in dump_design(design)["front"]["objects"]]
    check(kinds.count("SKTImage") == PHOTOS, "the opened design holds %s" % kinds)
    if loading:
        check(opened == "%s \u2014 %s" % (name, MAIN_TITLE), "the key pressed while opening made %r" % opened)
        check(len(kinds) == PHOTOS, "the key pressed while opening added to the design: %s" % kinds)
    print("big_design: step 1 ok (%s)" % ("keys while opening" if loading else "opened before the keys"))


def step_2(s, design):
    name = os.path.basename(design)
    s.focus()
    s.key("ctrl+o")
    dialog = s.wait_for_window("Open Design")
    s.focus(dialog)
    s.key("ctrl+a")
    s.type_text(design)
    s.key("Return", delay=0)
    started = time.time()
    check(s.wait_for_window_gone("Open Design", timeout=SOON), "the open panel stayed up")
    paints_again(s, "rows-opening")
    s.wait_until(lambda: sheets(s) or title(s).startswith(name), "the sheet or the opened design", 10)
    if sheets(s):
        s.screenshot("rows-sheet")
        s.key("alt+t", "r", delay=0.05)
    opened = wait_for_title(s, name)
    s.wait_until(lambda: not sheets(s), "the sheet to close", 120)
    check(opened == "%s \u2014 %s" % (name, MAIN_TITLE), "a key pressed while opening made %r" % opened)
    s.screenshot("rows-opened")
    print("big_design: step 2 ok (%.1f s to open)" % (time.time() - started))


def step_3(s, design):
    before = os.stat(design).st_mtime_ns
    s.focus()
    s.key("ctrl+s", delay=0)
    started = time.time()
    paints_again(s, "rows-saving")
    s.wait_until(lambda: sheets(s), "the sheet or the saved message", 10)
    s.wait_until(lambda: os.stat(design).st_mtime_ns != before, "the saved file", 120)
    saved_after = time.time() - started
    # The saved message comes once the sheet has gone; the sheet takes no answer.
    box = s.modal_window(timeout=60)
    s.focus(box)
    s.key("Return")
    check(s.wait_for_window_gone(".", window=box), "the saved message stayed up")
    with open(design, "rb") as f:
        items = plistlib.load(f)
    rows = next(items[i + 1] for i, item in enumerate(items) if isinstance(item, list))
    check(len(rows) == ROWS and rows[-1]["Column1"] == "Guest %d" % (ROWS - 1), "the saved design holds %d rows" %
          len(rows))
    print("big_design: step 3 ok (%.1f s to save)" % saved_after)


def main():
    folder = tempfile.mkdtemp(prefix="tessaly-big-")
    try:
        photos = photo_design(folder)
        rows = rows_design(folder)
        with Session("big_design", args=[photos], through_start=False) as s:
            step_1(s, photos)
            step_2(s, rows)
            step_3(s, rows)
            status = s.quit(unasked="Ctrl+Q asked a question after saving")
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("big_design: ok")


if __name__ == "__main__":
    try:
        main()
    except AcceptanceError as e:
        print("big_design: FAILED: %s" % e)
        sys.exit(1)
