#!/usr/bin/python3
"""The preview follows the card page as a user changes it there: the new card's picture background
shown in View > Preview, then the card page's Background tab by keyboard and its Solid fill chosen.
The card on the screen changes at once (the picture gives way to the plain fill), and the saved
design holds the solid fill."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design  # noqa: E402

# Pixels of the card's area that differ between two screenshots: its background gives tens of
# thousands.
CARD_CHANGED = 5000


def changed_pixels(before, after, box):
    """Pixels of the box (left, top, right, bottom) that differ between two screenshots."""
    from PIL import Image, ImageChops
    with Image.open(before) as a, Image.open(after) as b:
        r, g, b_ = ImageChops.difference(a.convert("RGB").crop(box), b.convert("RGB").crop(box)).split()
        most = ImageChops.lighter(r, ImageChops.lighter(g, b_))
        return sum(1 for v in most.getdata() if v > 6)


def main():
    with Session("preview_page") as s:
        s.focus()
        s.key("alt+v", "p")  # View > Preview
        before = s.screenshot("preview")
        # The card stands between the tool column and the inspector, which fills the right quarter.
        x, y, w, h = s.geometry(s.window)
        card_area = (x + w // 4, y, x + w * 2 // 3, y + h)
        # From the card into the card page (its name), on to its Background tab and its fill kinds.
        s.key("Tab", "ctrl+Tab", "Tab")
        tab = s.screenshot("background-tab")
        check(changed_pixels(before, tab, card_area) < CARD_CHANGED, "the card changed before the fill did")
        s.key("space")  # Solid
        after = s.screenshot_when("solid-in-preview",
                                  lambda p: changed_pixels(tab, p, card_area) > CARD_CHANGED,
                                  "the preview to draw the solid fill")
        changed = changed_pixels(tab, after, card_area)
        check(changed > CARD_CHANGED, "the preview did not redraw: %d pixels changed" % changed)

        design = os.path.join(s.home, "solid.dcard")
        check(s.save_design(design), "no design file was written")
        page = dump_design(design)["front"]["page"]
        check(page["Card_fill_chk"] and page["Card_fill_style"] == "S",
              "the front page is not filled plain: %s" % page)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("preview_page: ok")


if __name__ == "__main__":
    main()
