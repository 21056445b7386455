#!/usr/bin/python3
"""Barcodes among other objects, as a user meets them. A card with a wide greeting across the top, a
Code 39 "ABC" and a QR Code "Hello QR", each drawn larger than its saved frame: the name typed into
Details lands where nothing is drawn (not across the Code 39's value and footer, just below its
frame), and the exported card scans both barcodes (zbarimg). Then a card with three barcodes, two
past the card's edge and a QR Code under the Code 128's picture: the question before the export
names each barcode by its value and type, one line each."""

import glob
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import DIALOG, open_details  # noqa: E402
from lib.session import Session, check, dump_design, hand_design, program_log, screenshot_dir  # noqa: E402

NAME = "Walt Test"
# Each barcode's picture, as the program makes it with its header and footer, in points from its
# frame's corner (measured on an export): wider and taller than the frames saved here.
DRAWN = {"ABC": (94, 53), "Hello QR": (62, 77)}
NAMED = [
    'The barcode "ABC" (Code 39) on the front runs off the card.',
    'The barcode "5901234123457" (Code 128) on the front runs off the card.',
    'The barcode "Hello QR" (QR Code) on the front is partly covered by the barcode "5901234123457" '
    '(Code 128): it may not scan.',
]


def overlap(a, b):
    return min(a[0] + a[2], b[0] + b[2]) - max(a[0], b[0]) > 0.5 and \
        min(a[1] + a[3], b[1] + b[3]) - max(a[1], b[1]) > 0.5


def drawn_box(o):
    """A barcode's frame and the picture drawn from its corner, whichever reaches further."""
    x, y, w, h = o["_bounds"]
    value = o.get("linear_font_val") if o.get("linear_or_2d", 0) == 0 else o.get("two_d_font_val")
    pw, ph = DRAWN.get(value, (w, h))
    return (x, y, max(w, pw), max(h, ph))


def details_clear_of_barcodes(work):
    design = os.path.join(work, "greeting.dcard")
    hand_design(design, "--text", "8,8,230,40=Happy Birthday", "--barcode", "10,52,70,30=ABC",
                "--barcode", "175,52,40,40=Hello QR;QR Code")
    with Session("barcodes_placed_and_named", args=[design]) as s:
        s.wait_until(lambda: s.xdotool("getwindowname", s.window).startswith("greeting.dcard"), "the design")
        dialog = open_details(s)
        s.type_text(NAME)  # the name field has the focus
        s.key("Tab", "Tab")  # off the name: Return goes to OK
        s.screenshot_painted("details", dialog)
        s.focus(dialog)
        s.key("Return")
        check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")
        s.screenshot("name-placed")
        s.save_again()
        objects = dump_design(design)["front"]["objects"]
        names = [o for o in objects if o.get("control_ID") == "Fup_Name"]
        check(len(names) == 1 and names[0]["Text_Value"] == NAME, "the name is not on the card: %s" % names)
        frame = names[0]["_bounds"]
        for o in objects:
            if o["class"] == "SKTBarcode":
                check(not overlap(frame, drawn_box(o)),
                      "the name at %s lies on the barcode drawn at %s" % (frame, drawn_box(o)))

        out = os.path.join(work, "out")
        os.makedirs(out)
        # A card without data rows is one file, named in the file panel.
        s.focus()
        s.key("alt+f", "e")
        sheet = s.wait_for_window("^Export$")
        s.focus(sheet)
        s.key("Return")
        s.choose_export_folder(os.path.join(out, "card.png"), other_than=(sheet,))
        cards = s.wait_until(lambda: glob.glob(os.path.join(out, "**", "*.png"), recursive=True), "the card", 60)
        s.close_exported_files()
        shutil.copy(cards[0], os.path.join(screenshot_dir(), "%02d-exported-card.png" % (s.shots + 1)))
        r = subprocess.run(["zbarimg", "--nodbus", "-q", cards[0]], capture_output=True, text=True, timeout=60)
        found = sorted(r.stdout.split("\n"))
        check({"CODE-39:ABC", "QR-Code:Hello QR"} <= set(found), "zbarimg read %s from the card" % found)
        check(s.quit(save=False) == 0, "the program did not end cleanly")


def check_names_each_barcode(work):
    design = os.path.join(work, "three.dcard")
    hand_design(design, "--text", "8,8,80,20=Happy", "--barcode", "200,10,70,30=ABC",
                "--barcode", "60,85,70,30=5901234123457;Code 128", "--barcode", "110,60,40,40=Hello QR;QR Code")
    with Session("barcodes_placed_and_named", args=[design]) as s:
        s.shots = 20  # after the first card's screenshots
        s.wait_until(lambda: s.xdotool("getwindowname", s.window).startswith("three.dcard"), "the design")
        question = s.export_until_asked("check-question")
        asked = s.wait_until(lambda: all(n in program_log(s) for n in NAMED) and program_log(s),
                             "each barcode named in the check")
        lines = [line for line in asked.splitlines() if "barcode" in line and "on the front" in line]
        check(len(lines) == len(set(lines)), "the check repeats a line word for word:\n%s" % "\n".join(lines))
        s.focus(question)
        s.key("Escape")
        check(s.wait_for_window_gone(".", window=question), "the question stayed after Escape")
        check(s.quit(save=False) == 0, "the program did not end cleanly")


def main():
    work = tempfile.mkdtemp(prefix="tessaly-barcodes-placed-")
    try:
        details_clear_of_barcodes(work)
        check_names_each_barcode(work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("barcodes_placed_and_named: ok")


if __name__ == "__main__":
    main()
