#!/usr/bin/python3
"""A binding follows its column's heading into the next workbook, as a user meets it: a design whose
QR Code is bound to the column "Long", a first workbook loaded in the personal details and the
e-mail bound there to "Long", then a second workbook where "Long" has moved behind an inserted
column; the exported cards' QR Codes read the second workbook's "Long" values, and the saved design
binds the e-mail text to "Long" there."""

import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import DIALOG, bind_email_to_third_column, load_workbook, open_details, write_workbook as workbook  # noqa: E402
from lib.screen import qr_text  # noqa: E402
from lib.session import Session, check, dump_design, new_design  # noqa: E402

ROWS = 4


def main():
    work = tempfile.mkdtemp(prefix="tessaly-rebound-")
    try:
        first = os.path.join(work, "first.xlsx")
        second = os.path.join(work, "second.xlsx")
        workbook(first, ["Name", "Long", "Date"],
                 [["Guest %d" % k, "L-%04d" % k, "2026-01-%02d" % k] for k in range(1, ROWS + 1)])
        workbook(second, ["Secret", "Date", "Long", "Name"],
                 [["S-%04d" % k, "2026-02-%02d" % k, "M-%04d" % k, "Guest %d" % k] for k in range(1, ROWS + 1)])
        design = os.path.join(work, "party.dcard")
        new_design(design, "--qr-column", "Long")

        with Session("rebound_workbook", args=[design]) as s:
            # The first workbook, and the e-mail bound to "Long", its third column.
            dialog = open_details(s)
            load_workbook(s, dialog, first, "first")
            bind_email_to_third_column(s, dialog)

            # The second workbook: "Long" is its third column now, behind "Secret" and "Date".
            dialog = open_details(s)
            load_workbook(s, dialog, second, "second")
            s.screenshot("followed")
            s.key("Tab", "Tab", "Tab", "Return")  # off the buttons, then OK
            check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")

            out = os.path.join(work, "out")
            os.makedirs(out)
            s.export_cards(out)
            batch = os.path.join(out, "ZOLV Tessaly Greeting Card")
            s.wait_until(lambda: len(glob.glob(os.path.join(batch, "Card_*.png"))) == ROWS, "the cards", 120)
            s.close_exported_files()
            for k in range(1, ROWS + 1):
                got = qr_text(os.path.join(batch, "Card_%d.png" % k))
                check(got == "M-%04d" % k, "Card_%d reads %r, not %r" % (k, got, "M-%04d" % k))

            # Saved over the design it was opened from.
            before = os.path.getmtime(design)
            s.save_again()
            s.wait_until(lambda: os.path.getmtime(design) != before, "the saved design")
            tree = dump_design(design)
            titles = tree["excel"]["titles"]
            emails = [o for o in tree["front"]["objects"] if o.get("control_ID") == "Fup_EmailID"]
            check(len(emails) == 1, "no e-mail text on the front")
            column = emails[0]["excel_col_indx"]
            check(emails[0]["data_source_type"] == 2 and emails[0].get("excel_col_title") == "Long",
                  "the e-mail text is bound to %r" % emails[0].get("excel_col_title"))
            check(titles[column] == "Long", "the e-mail text reads column %d of %s" % (column, titles))
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("rebound_workbook: ok")


if __name__ == "__main__":
    main()
