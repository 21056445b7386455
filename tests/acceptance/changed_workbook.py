#!/usr/bin/python3
"""A workbook edited after its rows were loaded, as a user meets it: a design whose QR Code reads the
column "Code", the workbook loaded in the personal details and the e-mail text bound to "Code",
cards exported; then one code corrected and two rows added in the workbook on disk. The next
export asks first whether to load the rows again; after Load Again the cards' QR Codes read the
corrected code and the new rows, and the design saved afterwards holds them."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import (  # noqa: E402
    GUEST_HEADINGS, export_and_read, guests, guests_design, load_guests, write_guests)
from lib.session import Session, check, dump_design  # noqa: E402

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
        book, design = guests_design(work)

        with Session("changed_workbook", args=[design]) as s:
            load_guests(s, book)

            first = export_and_read(s, os.path.join(work, "first"), 3)
            check(first == [r[1] for r in guests(3)], "the first cards read %s" % first)

            # Edited on disk: guest 2's code corrected, guests 4 and 5 added.
            write_guests(book, 5, corrected=2)
            second = export_and_read(s, os.path.join(work, "second"), 5, before_sheet=load_again)
            check(second == [r[1] for r in guests(5, corrected=2)], "the cards after Load Again read %s" % second)

            # The design saved now holds the rows as loaded again.
            before = os.path.getmtime(design)
            s.save_again()
            s.wait_until(lambda: os.path.getmtime(design) != before, "the saved design")
            excel = dump_design(design)["excel"]
            codes = [row.get("Column2") for row in excel["rows"]]
            check(excel["titles"] == ["Row"] + GUEST_HEADINGS, "the saved titles are %s" % excel["titles"])
            check(codes == [r[1] for r in guests(5, corrected=2)], "the saved rows read %s" % codes)
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("changed_workbook: ok")


if __name__ == "__main__":
    main()
