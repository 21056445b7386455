#!/usr/bin/python3
"""Personal details opened from the template browser, as a user meets them: over a saved design
bound to no workbook, File > New from Template, Personal Details..., a workbook loaded through
Browse and confirmed, then the browser cancelled. The design then binds that workbook (saved so),
and one Ctrl+Z in the main window takes it back: saved again, the design binds none."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import load_workbook, write_workbook  # noqa: E402
from lib.session import Session, check, dump_design, new_design  # noqa: E402

TEMPLATES = "^Templates$"
DIALOG = "^User Profile Information$"  # opened by a start window: no side named


def saved_workbook(s, design):
    """Ctrl+S over the design's own file; the path of the workbook it binds as saved."""
    before = os.path.getmtime(design)
    s.save_again()
    s.wait_until(lambda: os.path.getmtime(design) != before, "the saved design")
    return dump_design(design)["excel"]["path"]


def main():
    work = tempfile.mkdtemp(prefix="tessaly-template-details-")
    try:
        book = os.path.join(work, "guests.xlsx")
        write_workbook(book, ["Name", "Code"], [["Ann", "A-1"], ["Bo", "A-2"]])
        design = os.path.join(work, "card.dcard")
        new_design(design)
        with Session("template_details_undo", args=[design]) as s:
            check(saved_workbook(s, design) == "", "the design started bound to a workbook")
            s.focus()
            s.key("alt+f", "t")  # File > New from Template...
            browser = s.wait_for_window(TEMPLATES)
            s.focus(browser)
            x0, y0, w, h = s.geometry(browser)
            s.screenshot_painted("templates", browser)
            # Personal Details... stands alone above Cancel and OK, at the window's right.
            s.xdotool("mousemove", "--sync", str(x0 + w - 70), str(y0 + h - 52), "click", "1")
            dialog = s.wait_for_window(DIALOG)
            s.focus(dialog)
            load_workbook(s, dialog, book, "template", to_browse=("shift+Tab",) * 3)
            s.screenshot_painted("details", dialog)
            s.key("Tab", "Tab", "Tab", "Return")  # off the buttons, then OK
            check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")
            s.focus(browser)
            s.key("Escape")  # no template chosen: the design stays
            check(s.wait_for_window_gone(TEMPLATES, window=browser), "Escape left the templates open")

            check(saved_workbook(s, design) == book, "Personal Details' OK did not bind the workbook")
            s.focus()
            s.key("ctrl+z")
            s.screenshot("undone")
            bound = saved_workbook(s, design)
            check(bound == "", "after one Ctrl+Z the design still binds %r" % bound)
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("template_details_undo: ok")


if __name__ == "__main__":
    main()
