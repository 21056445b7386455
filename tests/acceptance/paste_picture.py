#!/usr/bin/python3
"""A PNG offered by another program (xclip) is pasted with Ctrl+V, the design saved and opened
again: the picture object points at a copy kept in the data folder's Pasted/ folder, and after
reopening the picture shows on the card at its own size."""

import os
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design, write_png  # noqa: E402
from lib.screen import longest_runs, png_on_clipboard  # noqa: E402

WIDTH, HEIGHT = 90, 60
COLOUR = (200, 30, 140)  # nothing else on the plain card has it


def coloured_run(path):
    return longest_runs(path, COLOUR)


def pasted_path(design):
    objects = dump_design(design)["front"]["objects"]
    images = [o for o in objects if o["class"] == "SKTImage"]
    check(len(images) == 1, "the saved design holds %d picture objects" % len(images))
    paths = [v for v in images[0].values() if isinstance(v, str) and "/Pasted/" in v]
    check(paths, "the picture object names no kept file: %s" % images[0])
    return paths[0], images[0]


def main():
    with Session("paste_picture") as s:
        png = os.path.join(s.home, "offered.png")
        write_png(png, WIDTH, HEIGHT, COLOUR)
        with png_on_clipboard(s, png):
            s.focus()
            s.key("ctrl+v")
            pasted = s.screenshot_when("pasted", lambda shot: coloured_run(shot)[0] >= WIDTH - 2,
                                       "the pasted picture on the card")
        run_x, _ = coloured_run(pasted)
        check(run_x >= WIDTH - 2, "the pasted picture shows %d pixels wide, not %d" % (run_x, WIDTH))

        design = os.path.join(s.home, "pasted.dcard")
        check(s.save_design(design), "no design file was written")
        kept, image = pasted_path(design)
        check(kept.startswith(os.path.join(s.data_folder(), "Pasted") + "/"), "kept outside the data folder: " + kept)
        check(os.path.isfile(kept), "the kept picture %s is missing" % kept)
        with Image.open(kept) as picture:
            check(picture.size == (WIDTH, HEIGHT), "the kept picture is %s" % (picture.size,))
            check(picture.convert("RGB").getpixel((5, 5)) == COLOUR, "the kept picture has other pixels")

        # Opened again (File > Open) over the saved design: the picture comes from the file. It
        # is deleted first, so that what shows afterwards can only be the file's.
        s.focus()
        s.key("ctrl+a", "Delete")
        s.screenshot_when("deleted", lambda shot: coloured_run(shot)[0] < 10, "the picture to go")
        s.key("ctrl+o")
        # The deletion is unsaved: the save question comes first, and the design is left unsaved.
        box = s.wait_until(s.question_box, "the save question", 10)
        s.focus(box)
        s.key("alt+n")
        dialog = s.wait_for_window("Open Design")
        s.focus(dialog)
        s.key("ctrl+a")
        s.type_text(design)
        s.key("Return")
        s.wait_for_window_gone("Open Design")

        def shown_again(shot):
            run_x, run_y = coloured_run(shot)
            return run_x >= WIDTH - 2 and run_y >= 30
        reopened = s.screenshot_when("reopened", shown_again, "the picture read from the file")
        run_x, run_y = coloured_run(reopened)
        check(run_x >= WIDTH - 2, "after reopening the picture shows %d pixels wide, not %d" % (run_x, WIDTH))
        check(run_y >= 30, "after reopening the picture shows %d pixels high" % run_y)

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("paste_picture: ok")


if __name__ == "__main__":
    main()
