"""The personal details window as the workbook scripts use it: opened from the main window's
Details button, a workbook loaded through Browse with every column ticked; and the guests workbook
those scripts change on disk, with the export that reads its cards back."""

import glob
import os
import shutil

import openpyxl

from .screen import button_groups, qr_text
from .session import check, new_design, screenshot_dir

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


# The guests workbook of the scripts about a workbook changed on disk: a name and a code a guest,
# the design's QR Code reading the code.
GUEST_HEADINGS = ["Name", "Code"]


def guests(count, corrected=None):
    """Guests 1..count; the guest `corrected` has a new code."""
    return [["Guest %d" % k, ("Q-%04d" if k == corrected else "P-%04d") % k] for k in range(1, count + 1)]


def write_guests(book, count, corrected=None):
    write_workbook(book, GUEST_HEADINGS, guests(count, corrected))


def guests_design(work):
    """people.xlsx with three guests and party.dcard, whose QR Code reads the column "Code", in
    work; returns their paths."""
    book = os.path.join(work, "people.xlsx")
    write_guests(book, 3)
    design = os.path.join(work, "party.dcard")
    new_design(design, "--qr-column", "Code")
    return book, design


def load_guests(s, book):
    """The guests workbook loaded in the personal details, the e-mail bound to "Code"."""
    dialog = open_details(s)
    load_workbook(s, dialog, book, "people")
    bind_email_to_third_column(s, dialog)


def export_and_read(s, folder, count, before_sheet=None, keep_first_card=False):
    """Exports the cards into folder and reads each card's QR Code, in card order; keep_first_card:
    the first card is kept beside the screenshots."""
    os.makedirs(folder)
    s.export_cards(folder, before_sheet)
    batch = os.path.join(folder, "ZOLV Tessaly Greeting Card")
    s.wait_until(lambda: len(glob.glob(os.path.join(batch, "Card_*.png"))) >= count, "%d cards" % count, 120)
    s.close_exported_files()
    cards = glob.glob(os.path.join(batch, "Card_*.png"))
    check(len(cards) == count, "%d cards written for %d rows" % (len(cards), count))
    if keep_first_card:
        shutil.copy(os.path.join(batch, "Card_1.png"),
                    os.path.join(screenshot_dir(), "%02d-%s-card.png" % (s.shots + 1, os.path.basename(folder))))
    return [qr_text(os.path.join(batch, "Card_%d.png" % k)) for k in range(1, count + 1)]
