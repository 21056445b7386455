#!/usr/bin/python3
"""A text's source set to "Excel", as a user meets it: a design with one typed text, a workbook of two
names loaded through Details, then the Text Source page's list set to Excel. Nothing is bound until
a column is chosen: the saved text keeps its words and the exported card prints exactly what the
card shows (drawn by cardtool from the saved design, whose PDF pdftotext reads). Then the column
"Name": the card shows the first name, the first exported card is that card and the second prints
the other name."""

import glob
import os
import subprocess
import sys
import tempfile

from PIL import Image, ImageChops

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import DIALOG, load_workbook, open_details, write_workbook  # noqa: E402
from lib.session import Session, cardtool_path, check, dump_design  # noqa: E402

WORDS = "Mira's 7th Birthday!"
NAMES = ["Ada", "Grace"]
# The Text Source page's tab and its two lists (the window stands at (100, 0), 1000 x 800).
SOURCE_TAB = (960, 36)
SOURCE_LIST = (946, 88)
VALUES_LIST = (919, 116)


def click(s, point):
    s.xdotool("mousemove", "--sync", str(point[0]), str(point[1]), "click", "1")


def pick(s, point, typed):
    """Opens a list with a click and picks the entry that starts with `typed`."""
    click(s, point)
    s.key(typed, "Return")


def the_text(design):
    texts = [o for o in dump_design(design)["front"]["objects"] if o["class"] == "SKTText"]
    check(len(texts) == 1, "front texts: %s" % texts)
    return texts[0]


def drawn(design, folder, form):
    """The saved design's front as cardtool draws it, the way exports draw it: a PNG at the export's
    300 dpi, or a PDF."""
    out = os.path.join(folder, "shown." + form)
    r = subprocess.run([cardtool_path(), "render", design, "--side", "front", "--format", form, "--dpi", "300",
                        "--out", out], capture_output=True, text=True, timeout=60)
    check(r.returncode == 0, "cardtool render failed: %s %s" % (r.stdout, r.stderr))
    return out


def same_picture(a, b):
    with Image.open(a) as x, Image.open(b) as y:
        return x.size == y.size and ImageChops.difference(x.convert("RGB"), y.convert("RGB")).getbbox() is None


def export(s, target, batch):
    """File > Export, the exported-files box closed: one card into the file `target`, or a batch into
    the folder `target`; the cards written, in order."""
    os.makedirs(target if batch else os.path.dirname(target), exist_ok=True)
    s.export_cards(target)
    s.close_exported_files()
    if not batch:
        check(os.path.isfile(target), "no card was exported as %s" % target)
        return [target]
    cards = sorted(glob.glob(os.path.join(target, "**", "Card_*.png"), recursive=True),
                   key=lambda p: int(os.path.basename(p)[5:-4].split("_")[0]))
    check(cards, "no card was exported into %s" % target)
    return cards


def main():
    work = tempfile.mkdtemp(prefix="tessaly-source-excel-")
    design = os.path.join(work, "mira.dcard")
    r = subprocess.run([cardtool_path(), "design-hand", design, "--text", "20,20,250,40=" + WORDS],
                       capture_output=True, text=True, timeout=60)
    check(r.returncode == 0, "cardtool design-hand failed: %s" % r.stderr)
    book = os.path.join(work, "names.xlsx")
    write_workbook(book, ["Name"], [[n] for n in NAMES])
    with Session("source_excel", args=(design,)) as s:
        dialog = open_details(s)
        load_workbook(s, dialog, book, "names")
        s.key("Return")  # OK: the workbook is the design's, no detail filled
        check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")

        s.focus()
        s.key("ctrl+a")  # the one text
        click(s, SOURCE_TAB)
        pick(s, SOURCE_LIST, "E")  # Excel, with no column chosen
        s.screenshot("excel-chosen")
        s.save_again()
        text = the_text(design)
        check((text["data_source_type"], text["_Text_contents"]["text"]) == (0, WORDS),
              "Excel alone bound the text: %s" % text)
        shown = subprocess.run(["pdftotext", drawn(design, work, "pdf"), "-"], capture_output=True, text=True,
                               timeout=30).stdout
        check(WORDS in shown, "the card shows %r" % shown)
        # Nothing bound: one card, as the card shows it.
        card = export(s, os.path.join(work, "unbound", "card.png"), batch=False)[0]
        check(same_picture(card, drawn(design, work, "png")), "the exported card is not the card shown")

        pick(s, VALUES_LIST, "N")  # the column "Name"
        s.screenshot("name-chosen")
        s.save_again()
        text = the_text(design)
        check((text["data_source_type"], text["_Text_contents"]["text"]) == (2, NAMES[0]),
              "after the column was chosen: %s" % text)
        cards = export(s, os.path.join(work, "bound"), batch=True)
        check(len(cards) == len(NAMES), "%d cards for %d rows" % (len(cards), len(NAMES)))
        check(same_picture(cards[0], drawn(design, work, "png")), "the first card is not the card shown")
        check(not same_picture(cards[0], cards[1]), "both cards print the same")
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("source_excel: ok")


if __name__ == "__main__":
    main()
