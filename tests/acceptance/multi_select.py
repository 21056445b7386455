#!/usr/bin/python3
"""An edit over several objects changes only what the user named. A red rectangle with a thick
black border and a blue one with a thin orange dashed border, both selected with Ctrl+A: Opacity 50
on the shape page makes both half opaque and leaves each its own fill and border. Then two barcodes
reading GIFT-2026 and 0123, both selected: the Barcode Properties window says two are selected, a
new Bar Height alone goes to both, and each keeps its own value; the lower one, grown past the
card's edge, is not moved onto the other and a message says so. The saved design, read by cardtool
design-dump, is checked after each."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design, hand_design  # noqa: E402

BARCODE_TITLE = "Barcode Properties"
# Each rectangle: its box, then fill, border colour, border width and style.
RED = "20,30,90,60=#ff0000;#000000;6;S"
BLUE = "140,30,90,60=#0000ff;#ff8000;1;DA"


def objects(design, kind):
    return [o for o in dump_design(design)["front"]["objects"] if o["class"] == kind]


def looks(rect):
    """What of a rectangle the opacity must leave alone: fill, border colour, width and style."""
    return (rect["_fillColor"], rect["_strokeColor"], rect["_strokeWidth"], rect["_stroke_border_type"],
            rect["_isDrawingFill"], rect["_isDrawingStroke"])


def rectangles(home):
    design = os.path.join(home, "rectangles.dcard")
    hand_design(design, "--rect", RED, "--rect", BLUE)
    before = sorted(looks(r) for r in objects(design, "Shape_Control"))
    check(len(before) == 2, "the design holds %d rectangles" % len(before))
    with Session("multi_select", args=(design,)) as s:
        s.focus()
        s.key("ctrl+a")
        s.screenshot("rectangles-selected")
        # Tab from the card to the inspector's tabs, then along the shape page: Border, its colour,
        # width and style, Fill, Solid, its colour, Opacity.
        s.key("Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab")
        s.key("ctrl+a")
        s.type_text("50")
        s.key("Return")
        s.screenshot("opacity-50")
        s.save_again()
        after = objects(design, "Shape_Control")
        check(all(abs(r["alpha_val"] - 0.5) < 1e-6 for r in after),
              "opacities: %s" % [r["alpha_val"] for r in after])
        check(sorted(looks(r) for r in after) == before,
              "fills and borders changed: %s, were %s" % (sorted(looks(r) for r in after), before))
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


def barcodes(home):
    design = os.path.join(home, "barcodes.dcard")
    hand_design(design, "--barcode", "20,30,100,50=GIFT-2026", "--barcode", "20,100,100,50=0123")
    with Session("multi_select", args=(design,)) as s:
        s.focus()
        s.key("ctrl+a")
        # The inspector's barcode page: its button opens the window on the current barcode.
        s.key("Tab", "Tab", "space")
        dialog = s.wait_for_window(BARCODE_TITLE)
        s.focus(dialog)
        s.screenshot("barcode-window-two")
        # From the value field to Bar Height.
        s.key("Tab", "Tab", "Tab")
        s.key("ctrl+a")
        s.type_text("0.9")
        s.screenshot("bar-height")
        s.key("Return")
        s.wait_for_window_gone(BARCODE_TITLE)
        # The lower barcode, taller now, has no room on the card below the other one: it is left
        # over the edge rather than moved onto the other, and a message says so.
        box = s.wait_until(s.question_box, "the message about the crowded frame", 10)
        s.screenshot("crowded-frame")
        s.focus(box)
        s.key("Return")
        s.wait_for_window_gone(".", window=box)
        s.screenshot("barcodes-after")
        s.save_again()
        after = objects(design, "SKTBarcode")
        values = sorted(b["linear_font_val"] for b in after)
        check(values == ["0123", "GIFT-2026"], "barcode values: %s" % values)
        heights = [round(b["linear_height_val"], 3) for b in after]
        check(heights == [0.9, 0.9], "bar heights: %s" % heights)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-multi-select-")
    rectangles(work)
    barcodes(work)
    print("multi_select: ok")


if __name__ == "__main__":
    main()
