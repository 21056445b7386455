#!/usr/bin/python3
"""Undo on the back side and pictures pasted onto the card, in a real window: a design with a
rectangle on the back is saved, zoomed into (Ctrl+= up to 1600 %) and opened again, which shows the
whole card; on the back Select All and Delete take the rectangle away and Ctrl+Z brings it back,
and the saved design holds it. A picture wider than the card, offered by xclip and pasted with the
mouse over the card, lands on the card scaled to its width."""

import os
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design, write_png  # noqa: E402
from lib.screen import longest_runs, png_on_clipboard  # noqa: E402

# Where the card view sits on the screen: the window stands at (100, 0), 1000 x 800, with the card
# view between y 120 and 780, x 270 and 780.
VIEW = (270, 120, 780, 780)
PICTURE = (900, 300)  # wider than the largest picture a design keeps (724 points): proportions past that cap
COLOUR = (200, 30, 140)  # nothing else on the plain card has it


def page_box(path):
    """The white card page in the card view: its bounding box on the screen."""
    shot = Image.open(path).convert("RGB")
    left, top, right, bottom = VIEW
    white = [(x, y) for y in range(top, bottom, 2) for x in range(left, right, 2) if shot.getpixel((x, y)) == (255, 255, 255)]
    if not white:
        return None
    return min(p[0] for p in white), min(p[1] for p in white), max(p[0] for p in white), max(p[1] for p in white)


def dark_pixels(path, box):
    """Pixels of a drawn outline (the rectangle, its handles) on the white page."""
    shot = Image.open(path).convert("L")
    left, top, right, bottom = box
    return sum(1 for y in range(top, bottom) for x in range(left, right) if shot.getpixel((x, y)) < 200)


def main():
    with Session("back_side_undo") as s:
        # A rectangle on the back (View > Back Side, Tools > Rectangle), saved.
        design = os.path.join(s.home, "back.dcard")
        s.key("alt+v", "b")
        s.key("alt+t", "r")
        check(s.save_design(design), "no design file was written")
        saved = dump_design(design)
        check(not saved["front"]["objects"], "the front holds %s" % saved["front"]["objects"])
        check(len(saved["back"]["objects"]) == 1, "the back holds %d objects" % len(saved["back"]["objects"]))
        frame = saved["back"]["objects"][0]["_bounds"]
        card_w, card_h = saved["front"]["page"]["Card_Size"]

        # Zoomed in to 1600 % with the keys, then opened: the whole card shows at 100 %.
        s.focus()
        s.key(*["ctrl+equal"] * 6)
        zoomed = s.screenshot("zoomed")
        box = page_box(zoomed)
        check(box is not None and box[2] - box[0] > 400 and box[3] - box[1] > 600, "at 1600 %% the page shows only %s" % (box,))
        s.open_design(design)

        # The back, its plain white page whole in the view, with the rectangle.
        s.focus()
        s.key("alt+v", "b")

        def whole(shot):
            b = page_box(shot)
            return b is not None and abs((b[2] - b[0]) - card_w) <= 8 and abs((b[3] - b[1]) - card_h) <= 8
        opened = s.screenshot_when("opened", whole, "the whole card at 100 %")
        box = page_box(opened)
        left, top, right, bottom = box
        check(left > VIEW[0] and top > VIEW[1] and right < VIEW[2] and bottom < VIEW[3],
              "the card %s is not whole in the view %s" % (box, VIEW))
        with_rect = s.screenshot_when("back", lambda shot: dark_pixels(shot, box) > 60, "the rectangle on the back")

        # A press on the desk beside the card gives it the keyboard; Select All, Delete, then
        # Ctrl+Z brings the rectangle back.
        s.xdotool("mousemove", "--sync", str(left - 12), str(top + 12), "click", "1")
        s.key("ctrl+a", "Delete")
        s.screenshot_when("deleted", lambda shot: dark_pixels(shot, box) < 10, "the rectangle to go")
        s.key("ctrl+z")
        s.screenshot_when("undone", lambda shot: dark_pixels(shot, box) >= dark_pixels(with_rect, box) // 2,
                          "the rectangle back")
        s.save_again()
        undone = dump_design(design)
        check([o["_bounds"] for o in undone["back"]["objects"]] == [frame],
              "after Ctrl+Z the back holds %s, not %s" % ([o["_bounds"] for o in undone["back"]["objects"]], frame))
        check(not undone["front"]["objects"], "the front holds %s" % undone["front"]["objects"])

        # A picture wider than the card pasted with the mouse over the card: on the card, its width.
        png = os.path.join(s.home, "offered.png")
        write_png(png, PICTURE[0], PICTURE[1], COLOUR)
        with png_on_clipboard(s, png):
            s.focus()
            s.xdotool("mousemove", "--sync", str((left + right) // 2), str(top + 40))
            s.key("ctrl+v")
            pasted = s.screenshot_when("pasted", lambda shot: longest_runs(shot, COLOUR)[0] >= card_w - 4,
                                       "the pasted picture across the card")
        run_x, run_y = longest_runs(pasted, COLOUR)
        check(run_x <= card_w + 2, "the pasted picture shows %d pixels wide on a %d wide card" % (run_x, card_w))
        check(abs(run_x / run_y - PICTURE[0] / PICTURE[1]) < 0.1, "the pasted picture shows %d x %d" % (run_x, run_y))
        s.save_again()
        images = [o for o in dump_design(design)["back"]["objects"] if o["class"] == "SKTImage"]
        check(len(images) == 1, "the back holds %d pictures" % len(images))
        x, y, w, h = images[0]["_bounds"]
        check(x >= 0 and y >= 0 and x + w <= card_w + 0.01 and y + h <= card_h + 0.01,
              "the picture's frame %s is not inside the %s x %s card" % ((x, y, w, h), card_w, card_h))
        check(abs(w / h - PICTURE[0] / PICTURE[1]) < 0.01, "the picture lost its proportions: %s x %s" % (w, h))

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("back_side_undo: ok")


if __name__ == "__main__":
    main()
