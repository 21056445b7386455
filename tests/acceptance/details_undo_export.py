#!/usr/bin/python3
"""Undoing a workbook chosen in the personal details, as a user meets it: a design whose QR Code
reads the column "Name", bound to a first workbook (Ann, Bo, Cy, Di) and saved; opened again, a
second workbook (P1..P10) chosen in the details and confirmed, then Ctrl+Z. The exported cards read
the first workbook's four names (and no fifth card is written), and the design saved afterwards
binds the first workbook and its rows; redone, it binds the second one again. Before that, a
session ended with Escape after a row was corrected in its View Excel window leaves nothing to
undo: Ctrl+Z then keeps the first workbook."""

import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import DIALOG, load_workbook, open_details, write_workbook  # noqa: E402
from lib.screen import qr_text  # noqa: E402
from lib.session import Session, check, dump_design, new_design, screenshot_dir  # noqa: E402

HEADINGS = ["Name", "Code"]
FIRST = ["Ann", "Bo", "Cy", "Di"]
SECOND = ["P%d" % k for k in range(1, 11)]


def choose_workbook(s, path, label):
    """Details, the workbook loaded through Browse, then OK (off the buttons first: Return on a
    focused button would press that one)."""
    dialog = open_details(s)
    load_workbook(s, dialog, path, label)
    s.screenshot_painted("details-" + label, dialog)
    s.key("Tab", "Tab", "Tab", "Return")
    check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")
    s.focus()


def cancelled_session(s, path):
    """Details, a workbook loaded and a row corrected in View Excel (right of Browse), then Escape."""
    dialog = open_details(s)
    load_workbook(s, dialog, path, "cancelled")
    s.key("Tab", "space")
    viewer = s.wait_for_window("^Excel Data$")
    s.focus(viewer)
    s.key("Tab", "Right", "F2", "ctrl+a")
    s.type_text("Zed")
    s.key("Return")
    s.screenshot_painted("viewer-corrected", viewer)
    s.key("Return")  # OK, the window's default button
    check(s.wait_for_window_gone("^Excel Data$", window=viewer), "the workbook's rows stayed open")
    s.focus(dialog)
    s.key("Escape")
    check(s.wait_for_window_gone(DIALOG, window=dialog), "Escape left the details window open")


def saved_binding(s, design):
    """Ctrl+S over the design's own file; the workbook path and the names of its rows as saved."""
    before = os.path.getmtime(design)
    s.save_again()
    s.wait_until(lambda: os.path.getmtime(design) != before, "the saved design")
    excel = dump_design(design)["excel"]
    return excel["path"], [row.get("Column1") for row in excel["rows"]]


def main():
    work = tempfile.mkdtemp(prefix="tessaly-details-undo-")
    try:
        first = os.path.join(work, "first.xlsx")
        second = os.path.join(work, "second.xlsx")
        write_workbook(first, HEADINGS, [[n, "A-%d" % k] for k, n in enumerate(FIRST, 1)])
        write_workbook(second, HEADINGS, [[n, "B-%d" % k] for k, n in enumerate(SECOND, 1)])
        design = os.path.join(work, "party.dcard")
        new_design(design, "--qr-column", "Name")

        # The design bound to the first workbook and saved: where the user starts from.
        with Session("details_undo_export", args=[design]) as s:
            choose_workbook(s, first, "first")
            path, names = saved_binding(s, design)
            check(path == first and names == FIRST, "the design was saved bound to %s, rows %s" % (path, names))
            check(s.quit(save=False) == 0, "the first run did not end cleanly")

        with Session("details_undo_export", args=[design]) as s:
            s.shots = 20  # after the first run's screenshots
            cancelled_session(s, second)
            # Nothing of it is left to undo: the design still binds the first workbook.
            s.focus()
            s.key("ctrl+z")
            path, names = saved_binding(s, design)
            check(path == first and names == FIRST,
                  "after a cancelled session and Ctrl+Z the design binds %s, rows %s" % (path, names))
            choose_workbook(s, second, "second")
            s.key("alt+e")
            s.screenshot("edit-menu")
            s.key("Escape")
            s.focus()
            s.key("ctrl+z")  # Edit > Undo Personal Details

            out = os.path.join(work, "out")
            os.makedirs(out)
            s.export_cards(out)
            batch = os.path.join(out, "ZOLV Tessaly Greeting Card")
            s.wait_until(lambda: len(glob.glob(os.path.join(batch, "Card_*.png"))) >= len(FIRST), "the cards", 60)
            s.close_exported_files()
            cards = glob.glob(os.path.join(batch, "Card_*.png"))
            check(len(cards) == len(FIRST), "%d cards written for %d rows" % (len(cards), len(FIRST)))
            read = [qr_text(os.path.join(batch, "Card_%d.png" % k)) for k in range(1, len(FIRST) + 1)]
            shutil.copy(os.path.join(batch, "Card_1.png"), os.path.join(screenshot_dir(), "%02d-exported-card.png" % (s.shots + 1)))
            check(read == FIRST, "the exported cards read %s" % read)

            path, names = saved_binding(s, design)
            check(path == first, "the design is saved bound to %s, not %s" % (path, first))
            check(names == FIRST, "the saved rows read %s" % names)

            # Redone, the second workbook is back: it had been bound before the undo.
            s.focus()
            s.key("ctrl+y")
            path, names = saved_binding(s, design)
            check(path == second and names == SECOND, "redone, the design binds %s, rows %s" % (path, names))
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("details_undo_export: ok")


if __name__ == "__main__":
    main()
