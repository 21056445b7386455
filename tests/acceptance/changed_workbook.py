#!/usr/bin/python3
"""A workbook edited after its rows were loaded, as a user meets it: a design whose QR Code reads the
column "Code", the workbook loaded in the personal details and the e-mail text bound to "Code",
cards exported; then one code corrected and two rows added in the workbook on disk. The next
export asks first whether to load the rows again; after Load Again the cards' QR Codes read the
corrected code and the new rows, and the design saved afterwards holds them."""

import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import bind_email_to_third_column, load_workbook, open_details, write_workbook  # noqa: E402
from lib.screen import qr_text  # noqa: E402
from lib.session import Session, check, dump_design, new_design  # noqa: E402

HEADINGS = ["Name", "Code"]


def rows(count, corrected=None):
    """Guests 1..count; the guest `corrected` has a new code."""
    return [["Guest %d" % k, ("Q-%04d" if k == corrected else "P-%04d") % k] for k in range(1, count + 1)]


def export_and_read(s, folder, count, before_sheet=None):
    """Exports the cards into folder and reads each card's QR Code, in card order."""
    os.makedirs(folder)
    s.export_cards(folder, before_sheet)
    batch = os.path.join(folder, "ZOLV Tessaly Greeting Card")
    s.wait_until(lambda: len(glob.glob(os.path.join(batch, "Card_*.png"))) == count, "%d cards" % count, 120)
    s.close_exported_files()
    check(len(glob.glob(os.path.join(batch, "Card_*.png"))) == count, "more cards than rows")
    return [qr_text(os.path.join(batch, "Card_%d.png" % k)) for k in range(1, count + 1)]


def load_again(s):
    """The question before the export sheet: its box shows first, and Return answers Load Again."""
    box = s.wait_until(s.question_box, "the question about the changed workbook")
    check(not s.find_window("^Export$"), "the export sheet opened before the question")
    s.screenshot_painted("changed-question", box)
    s.focus(box)
    s.key("Return")
    s.wait_for_window_gone(".", window=box)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-changed-")
    try:
        book = os.path.join(work, "people.xlsx")
        write_workbook(book, HEADINGS, rows(3))
        design = os.path.join(work, "party.dcard")
        new_design(design, "--qr-column", "Code")

        with Session("changed_workbook", args=[design]) as s:
            # The workbook, and the e-mail bound to "Code".
            dialog = open_details(s)
            load_workbook(s, dialog, book, "people")
            bind_email_to_third_column(s, dialog)

            first = export_and_read(s, os.path.join(work, "first"), 3)
            check(first == [r[1] for r in rows(3)], "the first cards read %s" % first)

            # Edited on disk: guest 2's code corrected, guests 4 and 5 added.
            write_workbook(book, HEADINGS, rows(5, corrected=2))
            second = export_and_read(s, os.path.join(work, "second"), 5, before_sheet=load_again)
            check(second == [r[1] for r in rows(5, corrected=2)], "the cards after Load Again read %s" % second)

            # The design saved now holds the rows as loaded again.
            before = os.path.getmtime(design)
            s.save_again()
            s.wait_until(lambda: os.path.getmtime(design) != before, "the saved design")
            excel = dump_design(design)["excel"]
            codes = [row.get("Column2") for row in excel["rows"]]
            check(excel["titles"] == ["Row"] + HEADINGS, "the saved titles are %s" % excel["titles"])
            check(codes == [r[1] for r in rows(5, corrected=2)], "the saved rows read %s" % codes)
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("changed_workbook: ok")


if __name__ == "__main__":
    main()
