#!/usr/bin/python3
"""Barcodes as they reach the cards. A barcode new from the Tools menu, exported straight away,
scans as its own Code 39 "0123" (zbarimg), never as a sample number. Then a QR Code "AAA111", a
Code 128 "BBB222" and a PDF417 "CCC333", all selected: the type chosen in Barcode Properties (Code
39, then QR Code) gives each exactly that type, and the card read back (zbarimg, ZXingReader) shows
each barcode's own value in it."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check, dump_design, hand_design, screenshot_dir  # noqa: E402

BARCODE_TITLE = "Barcode Properties"
VALUES = ["AAA111", "BBB222", "CCC333"]


def zbar(path):
    r = subprocess.run(["zbarimg", "--nodbus", "-q", path], capture_output=True, text=True, timeout=60)
    return sorted(r.stdout.split())


def new_barcode_exported():
    work = tempfile.mkdtemp(prefix="tessaly-barcode-types-")
    with Session("barcode_types") as s:
        s.focus()
        s.key("alt+t", "b")  # Tools > Barcode
        s.screenshot("new-barcode")
        # A card without data is one picture: the panel asks for its file.
        card = os.path.join(work, "card.png")
        done = s.export_card(card)
        s.screenshot("exported")
        s.focus(done)
        s.key("Escape")
        read = zbar(card)
        check(read == ["CODE-39:0123"], "the exported card scans as %s" % read)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


def barcodes_of(design):
    return [o for o in dump_design(design)["front"]["objects"] if o["class"] == "SKTBarcode"]


def shown_value(barcode):
    return barcode["two_d_font_val"] if barcode["linear_or_2d"] else barcode["linear_font_val"]


def choose_type(s, typed, label):
    """The window on the current barcode, its type found in the type list by typing the start of
    its name (a space would open the list), OK."""
    s.focus()
    s.key("Tab", "Tab", "space")  # the inspector's barcode page and its button
    dialog = s.wait_for_window(BARCODE_TITLE)
    s.focus(dialog)
    s.key("shift+Tab")  # from the value to the type list
    s.type_text(typed)
    s.screenshot(label)
    # OK, the window's bottom-right button (Return would go into a 2-D value's box).
    x, y, w, h = s.geometry(dialog)
    s.xdotool("mousemove", "--sync", str(x + w - 50), str(y + h - 22), "click", "1")
    check(s.wait_for_window_gone(BARCODE_TITLE, window=dialog), "the barcode window stayed open")


def types_over_three(title, typed, kind, reader, starts, places):
    """The three barcodes ("VALUE;TYPE", the window opens on the first), standing at places where
    the chosen type's symbols do not overlap."""
    work = tempfile.mkdtemp(prefix="tessaly-barcode-types-")
    design = os.path.join(work, "three.dcard")
    options = []
    for (x, y, w, h), start in zip(places, starts):
        options += ["--barcode", "%d,%d,%d,%d=%s" % (x, y, w, h, start)]
    hand_design(design, *options)
    label = title.replace(" ", "-")
    with Session("barcode_types", args=(design,)) as s:
        s.focus()
        # A click beside the card gives the card the keyboard, then Ctrl+A selects all three.
        s.xdotool("mousemove", "--sync", "520", "740", "click", "1")
        s.key("ctrl+a")
        choose_type(s, typed, "type-" + label)
        s.screenshot("after-" + label)
        s.save_again()
        found = barcodes_of(design)
        kinds = [(b["linear_or_2d"], b["barcode_font_index"]) for b in found]
        check(kinds == [(kind, 0)] * 3, "%s: the barcodes' types are %s" % (title, kinds))
        values = sorted(shown_value(b) for b in found)
        check(values == VALUES, "%s: the barcodes show %s" % (title, values))
        png = os.path.join(screenshot_dir(), "barcode-types-%s.png" % label)
        render = subprocess.run([cardtool_path(), "render", design, "--side", "front", "--format", "png",
                                 "--dpi", "600", "--out", png], capture_output=True, text=True, timeout=120)
        check(render.returncode == 0, "cardtool render failed: %s" % render.stderr)
        if reader == "zbar":
            read = zbar(png)
            check(read == ["CODE-39:" + v for v in VALUES], "%s: the card scans as %s" % (title, read))
        else:
            z = subprocess.run(["ZXingReader", "-format", "QRCode", png], capture_output=True, text=True,
                               timeout=60)
            read = sorted(line.split('"')[1] for line in z.stdout.splitlines()
                          if line.startswith("Text:") and '"' in line)
            check(read == VALUES, "%s: the card scans as %s" % (title, read))
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


def main():
    new_barcode_exported()
    # Linear symbols one below the other, square ones side by side.
    types_over_three("Code 39", "Code", 0, "zbar", ("AAA111;QR Code", "BBB222;Code 128", "CCC333;PDF417"),
                     [(4, 4, 60, 60), (58, 52, 120, 40), (112, 100, 120, 40)])
    types_over_three("QR Code", "QR", 1, "zxing", ("BBB222;Code 128", "AAA111;QR Code", "CCC333;PDF417"),
                     [(4, 4, 120, 40), (84, 4, 60, 60), (164, 4, 70, 40)])
    print("barcode_types: ok")


if __name__ == "__main__":
    main()
