#!/usr/bin/python3
"""Batch export as a user runs it: a design whose QR Code is bound to a 300-row series, File >
Export with the sheet's defaults (PNG at 300 dpi), the folder panel, the cards read back with
ZXingReader; then a second, longer run whose progress sheet is caught mid-run, stopped with Stop,
and its honest result."""

import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.screen import qr_text  # noqa: E402
from lib.session import Session, check, new_design  # noqa: E402

ROWS = 300



def value(k):
    return "ROW-%04d" % k


def wait_for_result(s, run, timeout=240):
    """The logged outcome of export number `run` (from 1) of the session."""
    def results():
        with open(os.path.join(s.home, "program.log")) as f:
            return [line[len("tessaly.export: Export: "):].strip()
                    for line in f if line.startswith("tessaly.export: Export: ")]
    return s.wait_until(lambda: results()[run - 1:run], "the end of export %d" % run, timeout)[0]


def dots_per_inch(path):
    """The resolution a PNG file records (its pHYs chunk in pixels a metre), or None."""
    with open(path, "rb") as f:
        data = f.read()
    at = 8
    while at + 8 <= len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        if data[at + 4:at + 8] == b"pHYs" and data[at + 16] == 1:
            return int.from_bytes(data[at + 8:at + 12], "big") * 0.0254
        at += 12 + length
    return None


def main():
    work = tempfile.mkdtemp(prefix="tessaly-export-")
    try:
        data = os.path.join(work, "data")
        dataset = os.path.join(data, "tessaly-designer", "DataSet")
        os.makedirs(dataset)
        with open(os.path.join(dataset, "rows.txt"), "w") as f:
            f.write("\n".join(value(k) for k in range(1, ROWS + 1)))
        design = os.path.join(work, "party.dcard")
        new_design(design, "--qr-series", "rows")

        with Session("export", args=[design], env={"XDG_DATA_HOME": data,
                                                    # the program says each export's outcome only when asked
                                                    "QT_LOGGING_RULES": "qt.qpa.*=false;tessaly.export.info=true"}) as s:
            out = os.path.join(work, "out")
            os.makedirs(out)
            s.export_cards(out)
            batch = os.path.join(out, "ZOLV Tessaly Greeting Card")
            result = wait_for_result(s, 1)
            check(result.startswith("Cards have been exported successfully."), "first run: %r" % result)
            s.close_exported_files()
            files = glob.glob(os.path.join(batch, "Card_*.png"))
            check(len(files) == ROWS, "%d cards written, %d expected" % (len(files), ROWS))
            # The sheet's defaults give print quality, and the closing text says how many and where.
            with open(os.path.join(s.home, "program.log")) as f:
                check("%d cards were written to %s." % (ROWS, batch) in f.read(), "no count and folder in the text")
            dpi = dots_per_inch(os.path.join(batch, "Card_1.png"))
            check(dpi is not None and dpi >= 299.9, "Card_1.png records %s dpi" % dpi)
            for k in list(range(1, 11)) + list(range(ROWS - 9, ROWS + 1)) + [137, 211]:
                got = qr_text(os.path.join(batch, "Card_%d.png" % k))
                check(got == value(k), "Card_%d reads %r, not %r" % (k, got, value(k)))

            # A second run into a fresh folder, stopped with Stop and confirmed with Yes. The series
            # has grown meanwhile, so that the run lasts long enough to be stopped by hand.
            long_run = 20000
            with open(os.path.join(dataset, "rows.txt"), "w") as f:
                f.write("\n".join(value(k) for k in range(1, long_run + 1)))
            out2 = os.path.join(work, "out2")
            os.makedirs(out2)
            s.export_cards(out2)
            batch2 = os.path.join(out2, "ZOLV Tessaly Greeting Card")
            s.wait_until(lambda: len(glob.glob(os.path.join(batch2, "Card_*"))) >= 3, "the first cards", 60)
            sheet = s.wait_for_window("^Progress$")
            s.screenshot("progress")  # caught while the cards are being written
            s.focus(sheet)
            s.key("space")  # Stop has the focus on the progress sheet
            s.answer_question(True)  # "Stop exporting?": Return answers Stop
            result = wait_for_result(s, 2)
            s.screenshot("stopped")
            s.close_exported_files()
            written = len(glob.glob(os.path.join(batch2, "Card_*.png")))
            check(result.startswith("Export stopped: %d of %d cards were written." % (written, long_run)),
                  "stopped run: %r with %d files" % (result, written))
            check(0 < written < long_run, "%d cards after Stop" % written)
            for k in range(1, written + 1):
                check(os.path.exists(os.path.join(batch2, "Card_%d.png" % k)), "Card_%d is missing" % k)

            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("export: ok")


if __name__ == "__main__":
    main()
