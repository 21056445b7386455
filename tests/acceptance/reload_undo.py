#!/usr/bin/python3
"""Rows loaded again are a step of their own, as a user meets it: a design whose QR Code reads the
column "Code", a workbook loaded in the personal details and the e-mail bound to "Code"; then the
first guest's code corrected and two rows added in the workbook on disk, and Load Again answered
before an export. The Edit menu offers Undo Load Again: undone, the design holds the rows as first
loaded and the canvas shows their first code (the Personal Details step before it stays); redone,
the fresh rows are back, and the next export asks nothing and writes cards whose QR Codes read the
fresh rows."""

import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import bind_email_to_third_column, load_workbook, open_details, write_workbook  # noqa: E402
from lib.screen import qr_text  # noqa: E402
from lib.session import Session, check, dump_design, new_design, screenshot_dir  # noqa: E402

HEADINGS = ["Name", "Code"]


def rows(count, corrected=None):
    """Guests 1..count; the guest `corrected` has a new code."""
    return [["Guest %d" % k, ("Q-%04d" if k == corrected else "P-%04d") % k] for k in range(1, count + 1)]


def export_and_read(s, folder, count, before_sheet=None):
    """Exports the cards into folder and reads each card's QR Code, in card order."""
    os.makedirs(folder)
    s.export_cards(folder, before_sheet)
    batch = os.path.join(folder, "ZOLV Tessaly Greeting Card")
    s.wait_until(lambda: len(glob.glob(os.path.join(batch, "Card_*.png"))) >= count, "%d cards" % count, 120)
    s.close_exported_files()
    cards = glob.glob(os.path.join(batch, "Card_*.png"))
    check(len(cards) == count, "%d cards written for %d rows" % (len(cards), count))
    shutil.copy(os.path.join(batch, "Card_1.png"),
                os.path.join(screenshot_dir(), "%02d-%s-card.png" % (s.shots + 1, os.path.basename(folder))))
    return [qr_text(os.path.join(batch, "Card_%d.png" % k)) for k in range(1, count + 1)]


def load_again(s):
    """The question before the export sheet, answered with Return: Load Again."""
    box = s.wait_until(s.question_box, "the question about the changed workbook")
    s.focus(box)
    s.key("Return")
    s.wait_for_window_gone(".", window=box)


def saved_codes(s, design):
    """Ctrl+S over the design's own file; the codes of its rows as saved."""
    before = os.path.getmtime(design)
    s.save_again()
    s.wait_until(lambda: os.path.getmtime(design) != before, "the saved design")
    return [row.get("Column2") for row in dump_design(design)["excel"]["rows"]]


def main():
    work = tempfile.mkdtemp(prefix="tessaly-reload-undo-")
    try:
        book = os.path.join(work, "people.xlsx")
        write_workbook(book, HEADINGS, rows(3))
        design = os.path.join(work, "party.dcard")
        new_design(design, "--qr-column", "Code")
        loaded = [r[1] for r in rows(3)]
        fresh = [r[1] for r in rows(5, corrected=1)]

        with Session("reload_undo", args=[design]) as s:
            dialog = open_details(s)
            load_workbook(s, dialog, book, "people")
            bind_email_to_third_column(s, dialog)

            write_workbook(book, HEADINGS, rows(5, corrected=1))
            first = export_and_read(s, os.path.join(work, "first"), 5, before_sheet=load_again)
            check(first == fresh, "the cards after Load Again read %s" % first)

            s.focus()
            s.key("alt+e")
            s.screenshot("edit-menu-undo-load-again")
            s.key("Escape")
            s.focus()
            s.key("ctrl+z")  # Edit > Undo Load Again
            s.screenshot("after-undo")
            codes = saved_codes(s, design)
            check(codes == loaded, "after Undo Load Again the design holds %s" % codes)

            s.focus()
            s.key("ctrl+y")  # Edit > Redo Load Again
            s.screenshot("after-redo")
            codes = saved_codes(s, design)
            check(codes == fresh, "after Redo Load Again the design holds %s" % codes)

            # The rows held are the file as it is: no question, and the cards read them.
            second = export_and_read(s, os.path.join(work, "second"), 5)
            check(second == fresh, "the cards after undo and redo read %s" % second)
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("reload_undo: ok")


if __name__ == "__main__":
    main()
