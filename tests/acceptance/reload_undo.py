#!/usr/bin/python3
"""Rows loaded again are a step of their own, as a user meets it: a design whose QR Code reads the
column "Code", a workbook loaded in the personal details and the e-mail bound to "Code"; then the
first guest's code corrected and two rows added in the workbook on disk, and Load Again answered
before an export. The Edit menu offers Undo Load Again: undone, the design holds the rows as first
loaded and the canvas shows their first code (the Personal Details step before it stays); redone,
the fresh rows are back, and the next export asks nothing and writes cards whose QR Codes read the
fresh rows."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import export_and_read, guests, guests_design, load_guests, write_guests  # noqa: E402
from lib.session import Session, check, dump_design  # noqa: E402

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
        book, design = guests_design(work)
        loaded = [r[1] for r in guests(3)]
        fresh = [r[1] for r in guests(5, corrected=1)]

        with Session("reload_undo", args=[design]) as s:
            load_guests(s, book)

            write_guests(book, 5, corrected=1)
            first = export_and_read(s, os.path.join(work, "first"), 5, before_sheet=load_again,
                                    keep_first_card=True)
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
            second = export_and_read(s, os.path.join(work, "second"), 5, keep_first_card=True)
            check(second == fresh, "the cards after undo and redo read %s" % second)
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("reload_undo: ok")


if __name__ == "__main__":
    main()
