#!/usr/bin/python3
"""A workbook gone from its path, as a user meets it: a design whose QR Code reads the column "Code"
of a workbook loaded in the personal details is saved; then the workbook is moved to another folder
(and two rows added there). Export names the workbook before its sheet opens; "Choose File..." and
the moved file give the cards of its five rows. The design saved then is opened again in a new
session after the workbook moved once more: the question comes as the design opens, and "Use Rows
as Loaded" (Return) exports the five rows as they were loaded."""

import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import bind_email_to_third_column, load_workbook, open_details, write_workbook  # noqa: E402
from lib.screen import qr_text  # noqa: E402
from lib.session import Session, check, new_design  # noqa: E402

HEADINGS = ["Name", "Code"]


def rows(count):
    return [["Guest %d" % k, "G-%04d" % k] for k in range(1, count + 1)]


def export_and_read(s, folder, count, before_sheet=None):
    """Exports the cards into folder and reads each card's QR Code, in card order."""
    os.makedirs(folder)
    s.export_cards(folder, before_sheet)
    batch = os.path.join(folder, "ZOLV Tessaly Greeting Card")
    s.wait_until(lambda: len(glob.glob(os.path.join(batch, "Card_*.png"))) == count, "%d cards" % count, 120)
    s.close_exported_files()
    return [qr_text(os.path.join(batch, "Card_%d.png" % k)) for k in range(1, count + 1)]


def gone_question(s, label):
    box = s.wait_until(s.question_box, "the question about the gone workbook")
    check(not s.find_window("^Export$"), "the export sheet opened before the question")
    s.screenshot_painted(label, box)
    return box


def main():
    work = tempfile.mkdtemp(prefix="tessaly-gone-workbook-")
    try:
        book = os.path.join(work, "people.xlsx")
        moved = os.path.join(work, "moved", "people.xlsx")
        os.makedirs(os.path.dirname(moved))
        write_workbook(book, HEADINGS, rows(3))
        design = os.path.join(work, "party.dcard")
        new_design(design, "--qr-column", "Code")

        with Session("gone_workbook", args=[design]) as s:
            dialog = open_details(s)
            load_workbook(s, dialog, book, "people")
            bind_email_to_third_column(s, dialog)
            os.remove(book)
            write_workbook(moved, HEADINGS, rows(5))

            def choose_moved(s):
                box = gone_question(s, "gone-workbook-at-export")
                s.focus(box)
                s.key("alt+c")
                panel = s.wait_for_window("Choose the Workbook")
                s.focus(panel)
                s.key("ctrl+a")
                s.type_text(moved)
                s.key("Return")
                s.wait_for_window_gone("Choose the Workbook", window=panel)
            codes = export_and_read(s, os.path.join(work, "first"), 5, before_sheet=choose_moved)
            check(codes == [r[1] for r in rows(5)], "the cards of the chosen workbook read %s" % codes)
            status = s.quit(save=True)
            check(status == 0, "exit status %s" % status)

        os.remove(moved)
        with Session("gone_workbook_open", args=[design], through_start=False) as s:
            box = gone_question(s, "gone-workbook-at-open")
            s.focus(box)
            s.key("Return")
            s.wait_for_window_gone(".", window=box)
            codes = export_and_read(s, os.path.join(work, "second"), 5)
            check(codes == [r[1] for r in rows(5)], "the cards of the rows as loaded read %s" % codes)
            status = s.quit(save=False, unasked="a question about a design with nothing to save")
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("gone_workbook: ok")


if __name__ == "__main__":
    main()
