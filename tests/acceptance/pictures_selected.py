#!/usr/bin/python3
"""Two pictures of different files, both selected with Ctrl+A: the Image Source page's "Picture
file" box names neither file and says that two pictures are selected. A click on one picture
alone shows that picture's file; Shift+click on the other says two are selected again. Each state
is kept as a screenshot for review."""

import os
import sys
import tempfile

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, hand_design, write_png  # noqa: E402


def spot_of(shot, rgb):
    """The middle of the pixels of one colour on the screen, or None."""
    with Image.open(shot) as image:
        rgb_image = image.convert("RGB")
        w, h = rgb_image.size
        hits = [(x, y) for y in range(0, h, 3) for x in range(0, w, 3)
                if rgb_image.getpixel((x, y)) == rgb]
    if not hits:
        return None
    return (sum(x for x, _ in hits) // len(hits), sum(y for _, y in hits) // len(hits))


def main():
    home = tempfile.mkdtemp(prefix="tessaly-pictures-selected-")
    red = os.path.join(home, "red.png")
    blue = os.path.join(home, "blue.png")
    write_png(red, 60, 40, (220, 20, 20))
    write_png(blue, 60, 40, (20, 20, 220))
    design = os.path.join(home, "pictures.dcard")
    hand_design(design, "--picture", "20,30,60,40=" + red, "--picture", "140,30,60,40=" + blue)
    with Session("pictures_selected", args=(design,)) as s:
        s.focus()
        s.key("ctrl+a")
        both = s.screenshot("two-pictures-selected")
        red_spot = spot_of(both, (220, 20, 20))
        check(red_spot is not None, "the red picture is not on the screen")
        # A click on the empty card below drops the selection; a click on the red picture takes it alone.
        s.xdotool("mousemove", str(red_spot[0]), str(red_spot[1] + 60), "click", "1")
        s.xdotool("mousemove", str(red_spot[0]), str(red_spot[1]), "click", "1")
        s.screenshot("red-picture-alone")
        # Shift+click adds the blue picture, the red one staying the current object.
        blue_spot = spot_of(both, (20, 20, 220))
        check(blue_spot is not None, "the blue picture is not on the screen")
        s.xdotool("mousemove", str(blue_spot[0]), str(blue_spot[1]), "keydown", "shift", "click", "1",
                  "keyup", "shift")
        s.screenshot("blue-picture-added")
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("pictures_selected: ok")


if __name__ == "__main__":
    main()
