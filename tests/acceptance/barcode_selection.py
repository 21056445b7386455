#!/usr/bin/python3
"""Barcode Properties over a selection, and what leaving it costs. Three barcodes (Code 39 "ABC",
Code 128 "5901234123457", QR Code "Hello QR") given EAN-13 together: each keeps its own value, the
window says before OK that the QR Code, whose value EAN-13 cannot hold, keeps its own type; its own
window, the canvas (once it is brought in front of the EAN-13 grown over it) and the saved card
(zbarimg) show it as the QR Code it is. Series chosen over two binds
both. Manual then Cancel on a barcode bound to a series leaves it bound. A
QR Code whose frame was shrunk below its symbol shows whole on the card and is exported whole:
zbarimg reads it."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check, dump_design, hand_design, screenshot_dir  # noqa: E402

BARCODE_TITLE = "Barcode Properties"


def barcodes_of(design):
    return [o for o in dump_design(design)["front"]["objects"] if o["class"] == "SKTBarcode"]


def shown_value(barcode):
    return barcode["two_d_font_val"] if barcode["linear_or_2d"] else barcode["linear_font_val"]


def zbar(path):
    r = subprocess.run(["zbarimg", "--nodbus", "-q", path], capture_output=True, text=True, timeout=60)
    return sorted(r.stdout.split("\n")[:-1])


def open_window(s):
    """Every barcode selected (a click beside the card gives it the keyboard), then the window on
    the current one from the inspector's barcode page; the value field has the keyboard."""
    s.focus()
    s.xdotool("mousemove", "--sync", "520", "740", "click", "1")
    s.key("ctrl+a")
    s.key("Tab", "Tab", "space")
    dialog = s.wait_for_window(BARCODE_TITLE)
    s.focus(dialog)
    return dialog


def press_ok(s, dialog, crowded=False):
    """OK, the window's bottom-right button (Return would go into a 2-D value's box). On a crowded
    card a message names the frame that had to grow over another object: it is pictured and
    closed."""
    x, y, w, h = s.geometry(dialog)
    s.xdotool("mousemove", "--sync", str(x + w - 50), str(y + h - 22), "click", "1")
    check(s.wait_for_window_gone(BARCODE_TITLE, window=dialog), "the barcode window stayed open")
    if crowded:
        box = s.wait_until(s.question_box, "the message about the crowded frame", 10)
        s.screenshot("frame-message")
        s.focus(box)
        s.key("Return")
        s.wait_for_window_gone(".", window=box)
    else:
        check(not s.question_box(), "a message came after OK")


def ean_over_three(work):
    design = os.path.join(work, "three.dcard")
    hand_design(design, "--barcode", "8,8,60,30=ABC;Code 39", "--barcode", "8,80,60,30=5901234123457;Code 128",
                "--barcode", "175,8,60,60=Hello QR;QR Code")
    with Session("barcode_selection", args=(design,)) as s:
        dialog = open_window(s)
        s.key("shift+Tab")  # from the value to the type list, shown as mixed
        s.screenshot("three-mixed")
        s.type_text("EAN-13")
        s.screenshot("three-ean13")  # the note names the QR Code's value
        press_ok(s, dialog, crowded=True)
        # Nothing selected (a click beside the card), the card larger.
        s.focus()
        s.xdotool("mousemove", "--sync", "520", "740", "click", "1")
        s.key("ctrl+equal", "ctrl+equal", "ctrl+equal")
        s.screenshot("three-after")
        # The QR Code alone (a click on it), its own window: its preview is the QR Code it stays.
        s.xdotool("mousemove", "--sync", "700", "390", "click", "1")
        s.key("Tab", "Tab", "space")
        dialog = s.wait_for_window(BARCODE_TITLE)
        s.screenshot_when("qr-own-window", lambda path: "QR-Code:Hello QR" in zbar(path),
                          "the QR Code's own window showing it")
        s.focus(dialog)
        s.key("Escape")
        check(s.wait_for_window_gone(BARCODE_TITLE, window=dialog), "Escape left the barcode window open")
        # The EAN-13 grown over it, as the message said; brought in front (the toolbar's Front), the
        # QR Code shows whole on the canvas.
        s.xdotool("mousemove", "--sync", "589", "33", "click", "1")
        s.screenshot_when("qr-in-front", lambda path: "QR-Code:Hello QR" in zbar(path), "the QR Code on the canvas")
        s.save_again()
        found = barcodes_of(design)
        values = sorted(shown_value(b) for b in found)
        check("5901234123457" in values and "Hello QR" in values,
              "the barcodes show %s: one took another's value" % values)
        check("ABC" in values or "012345678901" in values, "the Code 39 barcode shows %s" % values)
        kinds = {shown_value(b): (b["linear_or_2d"], b["barcode_font_index"]) for b in found}
        check(kinds.pop("Hello QR") == (1, 0), "the QR Code's type is now %s" % (kinds,))
        check(set(kinds.values()) == {(0, 8)}, "the other barcodes' types are %s" % kinds)
        # The saved card, drawn as an export draws it: the QR Code is the one its type and value make.
        png = os.path.join(screenshot_dir(), "three-saved.png")
        render = subprocess.run([cardtool_path(), "render", design, "--side", "front", "--format", "png",
                                 "--dpi", "300", "--out", png], capture_output=True, text=True, timeout=120)
        check(render.returncode == 0, "cardtool render failed: %s" % render.stderr)
        read = zbar(png)
        check("QR-Code:Hello QR" in read and "EAN-13:5901234123457" in read, "the saved card scans as %s" % read)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


def series_over_two(work):
    design = os.path.join(work, "two.dcard")
    hand_design(design, "--barcode", "8,8,60,30=FIRST;Code 128", "--barcode", "150,8,60,60=SECOND;QR Code")
    with Session("barcode_selection", args=(design,)) as s:
        dataset = os.path.join(s.data_folder(), "DataSet")
        os.makedirs(dataset, exist_ok=True)
        with open(os.path.join(dataset, "Numbers.txt"), "w") as f:
            f.write("1\n2\n3")
        dialog = open_window(s)
        s.key("Tab")  # the data source
        s.type_text("S")
        s.key("Tab")  # the series list
        s.type_text("N")
        s.screenshot("series-chosen")
        press_ok(s, dialog)
        s.save_again()
        bound = [(b["data_source_type"], b["batch_list_name"]) for b in barcodes_of(design)]
        check(bound == [(1, "Numbers")] * 2, "the barcodes' sources are %s" % bound)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


def manual_then_cancel(work):
    design = os.path.join(work, "bound.dcard")
    hand_design(design, "--qr-series", "Numbers")
    before = barcodes_of(design)
    # The series is there as the design opens: a gone one is named at open.
    data = os.path.join(work, "bound-data")
    os.makedirs(os.path.join(data, "tessaly-designer", "DataSet"))
    with open(os.path.join(data, "tessaly-designer", "DataSet", "Numbers.txt"), "w") as f:
        f.write("1\n2\n3")
    with Session("barcode_selection", args=(design,), env={"XDG_DATA_HOME": data}) as s:
        dialog = open_window(s)
        s.key("Tab")  # the data source
        s.type_text("M")
        s.screenshot("manual-chosen")
        # Cancel, the button left of OK.
        x, y, w, h = s.geometry(dialog)
        s.xdotool("mousemove", "--sync", str(x + w - 136), str(y + h - 22), "click", "1")
        check(s.wait_for_window_gone(BARCODE_TITLE, window=dialog), "Cancel left the barcode window open")
        s.save_again()
        after = barcodes_of(design)
        check([(b["data_source_type"], b["batch_list_name"]) for b in after] ==
              [(b["data_source_type"], b["batch_list_name"]) for b in before],
              "the barcode's source changed: %s" % [(b["data_source_type"], b["batch_list_name"]) for b in after])
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


def shrunk_qr_exported(work):
    design = os.path.join(work, "shrunk.dcard")
    hand_design(design, "--barcode", "30,30,20,20=SHRUNK-QR;QR Code")
    with Session("barcode_selection", args=(design,)) as s:
        # The canvas at 300 % shows the whole symbol past its frame, as the export draws it.
        s.focus()
        s.key("ctrl+equal", "ctrl+equal")
        s.screenshot_when("shrunk-on-canvas", lambda path: zbar(path) == ["QR-Code:SHRUNK-QR"],
                          "the whole QR Code on the canvas")
        card = os.path.join(work, "card.png")
        done = s.export_card(card)
        s.focus(done)
        s.key("Escape")
        read = zbar(card)
        check(read == ["QR-Code:SHRUNK-QR"], "the exported card scans as %s" % read)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-barcode-selection-")
    ean_over_three(work)
    series_over_two(work)
    manual_then_cancel(work)
    shrunk_qr_exported(work)
    print("barcode_selection: ok")


if __name__ == "__main__":
    main()
