"""The personal details window as the workbook scripts use it: opened from the main window's
Details button, a workbook loaded through Browse with every column ticked."""

import openpyxl

from .screen import button_groups
from .session import check

DIALOG = "Front Side User Profile Information"


def write_workbook(path, headings, rows, sheet=None):
    """A one-sheet workbook as openpyxl writes it: the headings, then the rows."""
    book = openpyxl.Workbook()
    ws = book.active
    if sheet:
        ws.title = sheet
    ws.append(headings)
    for row in rows:
        ws.append(row)
    book.save(path)


def open_details(s):
    """Clicks Details (the fourth button of the window's second group) and waits for the window."""
    groups = button_groups(s.screenshot_painted("main", s.window), s.geometry(s.window))
    x, y = groups[1][3]  # Card, Background, Grid, Details, ...
    s.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")
    dialog = s.wait_for_window(DIALOG)
    s.focus(dialog)
    return dialog


def load_workbook(s, dialog, path, label, to_browse=("shift+Tab",) * 4):
    """Browse... (four stops before the name field, where the editor's details open; to_browse
    from elsewhere), the workbook typed into the file panel, every column ticked in the column
    import (the column list has the focus: Tab to Select All)."""
    s.key(*to_browse)
    s.key("space")
    panel = s.wait_for_window("Choose a Workbook")
    s.focus(panel)
    s.key("ctrl+a")
    s.type_text(path)
    s.key("Return")
    columns = s.wait_for_window("Import from Excel")
    s.focus(columns)
    s.key("Tab", "space")
    s.screenshot("columns-" + label)
    s.key("Return")
    check(s.wait_for_window_gone("Import from Excel", window=columns), "the column import stayed open")
    s.focus(dialog)


def bind_email_to_third_column(s, dialog):
    """The e-mail (row 8) bound to the workbook's third heading: its source list to Excel with End,
    its column list to the third entry (Row, the first heading, the third); then OK."""
    s.key(*["Tab"] * 26)
    s.key("End", "Tab", "Home", "Down", "Down")
    s.screenshot("bound")
    s.key("Return")
    check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")
