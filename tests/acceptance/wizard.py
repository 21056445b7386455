#!/usr/bin/python3
"""The start wizard as a new user meets it: the wizard option, the size offered, one click on a
background picture, a title and a message, sender and addressee typed, Finish. The invitation's
texts stand on the background; saved, the design holds PARTY_TITLE at (40, 40) on a 340.16-pt
card. Later, the wizard that File > New opens: its Exit closes it over the design, which stays."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, START_TITLE, check, dump_design  # noqa: E402

MAGENTA = (255, 0, 255)



def magenta_like(p):
    # A selected picture is drawn tinted by the selection colour.
    return p[0] > 150 and p[1] < 90 and p[2] > 190


def find_colour(png_path, box):
    """Centre of the magenta-like pixels inside box (x, y, w, h) of a screenshot, or None."""
    from PIL import Image

    x0, y0, w, h = box
    x0, y0, w, h = x0 + 10, y0 + 10, w - 20, h - 20  # clear of the window's edges
    image = Image.open(png_path).convert("RGB").crop((x0, y0, x0 + w, y0 + h))
    pixels = image.load()
    xs, ys = [], []
    for y in range(0, h, 2):
        for x in range(0, w, 2):
            if magenta_like(pixels[x, y]):
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return x0 + (min(xs) + max(xs)) // 2, y0 + (min(ys) + max(ys)) // 2


def count_colour(png_path, rgb):
    from PIL import Image

    return sum(1 for p in Image.open(png_path).convert("RGB").getdata() if p == rgb)


def saved_front(s, name, size, ids):
    """Saves the design as name in the session's home and reads it back: its front, checked to be
    a card of size points holding the objects ids, and those objects by id."""
    path = os.path.join(s.home, name)
    check(s.save_design(path), "%s was not written" % name)
    front = dump_design(path)["front"]
    got = front["page"]["Card_Size"]
    check(abs(got[0] - size[0]) < 0.01 and abs(got[1] - size[1]) < 0.01, "card size %s" % got)
    objects = {o["control_ID"]: o for o in front["objects"]}
    check(set(objects) == set(ids), "objects %s" % sorted(objects))
    return front, objects


def new_card_replaces_the_design(s):
    """New over a design with an edit not saved: the question comes first (Don't Save); the wizard's
    90 x 60 mm card then takes the old design's place whole, and is no step to undo."""
    s.focus()
    s.key("alt+t", "b")  # Tools > Barcode: an edit not saved
    s.key("ctrl+n")
    s.answer_save_question(False)
    start = s.wait_for_window(START_TITLE)
    s.focus(start)
    s.key("Return")  # the wizard option; the width field has the keyboard
    s.key("ctrl+a")
    s.type_text("90.00")
    s.key("Tab", "ctrl+a")
    s.type_text("60.00")
    s.key("Return", "Return")  # the size, then the first background
    s.key("ctrl+a")
    s.type_text("Second")
    s.key("Tab", "ctrl+a")
    s.type_text("Hello again")
    s.key("alt+n", "Return")  # Finish
    check(s.wait_for_window_gone(START_TITLE, window=start), "the start wizard did not finish")
    s.focus()
    s.key("ctrl+z")  # nothing to undo: the card is where the design starts
    s.screenshot("new-card")
    _, objects = saved_front(s, "second.dcard", (255.12, 170.08), {"PARTY_TITLE", "PARTY_MSG"})
    check(objects["PARTY_TITLE"]["Text_Value"] == "Second", "title %s" % objects["PARTY_TITLE"])


def exit_on_new_keeps_the_design(s):
    """File > New over a saved design, then the start window's Exit: the window closes, the program
    runs on with the design as it was."""
    s.focus()
    s.key("ctrl+n")  # the design was just saved: no question
    start = s.wait_for_window(START_TITLE)
    s.screenshot("new-start-window")
    s.focus(start)
    s.key("shift+Tab")  # from the first choice back round to Exit
    s.screenshot("exit-focused")
    s.key("space")
    check(s.wait_for_window_gone(START_TITLE, window=start), "Exit did not close the start window")
    check(s.app.poll() is None, "Exit on the start window of New ended the program")
    s.screenshot("after-exit")
    # Saved again into its file, the design is the one New was asked over.
    s.save_again()
    front = dump_design(os.path.join(s.home, "second.dcard"))["front"]
    ids = sorted(o["control_ID"] for o in front["objects"])
    check(ids == ["PARTY_MSG", "PARTY_TITLE"], "after Exit the design holds %s" % ids)


def main():
    # A background of a colour no window uses, to find it on the screen; named to list first.
    with Session("wizard", through_start=False, backgrounds=[("aaa-magenta.png", MAGENTA, (120, 90))]) as s:
        start = s.wait_for_window(START_TITLE)
        s.focus(start)
        s.key("Return", "Return")  # the wizard option, then the size offered
        box = s.geometry(start)
        shot = s.screenshot_when("wizard-backgrounds", lambda p: find_colour(p, box) is not None,
                                 "a background picture shown in step 2")
        spot = find_colour(shot, box)
        # The click comes before the keys that follow: X delivers them in order.
        s.xdotool("mousemove", "--sync", str(spot[0]), str(spot[1]))
        s.xdotool("click", "1")

        s.focus(start)
        s.key("ctrl+a")
        s.type_text("Garden Party")
        s.key("Tab", "ctrl+a")
        s.type_text("Join us for tea and cake")
        s.key("alt+n")
        s.type_text("Sam")  # step 4 starts in the sender field
        s.key("Tab")
        s.type_text("Anna")
        s.key("Return")  # Finish
        s.wait_for_window_gone(START_TITLE)
        check(not s.find_window(START_TITLE), "the wizard did not finish")
        s.focus()
        # The 340-point card is magenta behind its texts: far more of it than any thumbnail.
        shot = s.screenshot_when("invitation", lambda p: count_colour(p, MAGENTA) > 60000,
                                 "the background on the card")
        check(count_colour(shot, MAGENTA) > 60000, "the background is not on the card")

        front, objects = saved_front(s, "party.dcard", (340.16, 340.16),
                                     {"PARTY_TITLE", "PARTY_TO", "PARTY_MSG", "PARTY_FROM"})
        title = objects["PARTY_TITLE"]
        check(title["_bounds"][0] == 40 and title["_bounds"][1] == 40, "title at %s" % title["_bounds"][:2])
        check(objects["PARTY_TO"]["Text_Value"] == "Dear Anna,", "addressee %s" % objects["PARTY_TO"])
        check(front["page"]["Card_BG_Image_Path"].endswith("aaa-magenta.png"), "background %s" % front["page"])

        new_card_replaces_the_design(s)
        exit_on_new_keeps_the_design(s)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("wizard: ok")


if __name__ == "__main__":
    main()
