#!/usr/bin/python3
"""Two texts selected together, as a user meets them in the inspector. The words box shows "2
texts selected" and takes no typing: words typed there change neither text. The Text Source page's
choice, Series and then a series' name, binds both texts, each showing the series' first value;
Manual gives each its own words back. The saved design is read after each step."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check, dump_design  # noqa: E402

# Places on the screen (the window stands at (100, 0), 1000 x 800): beside the card, the words box
# of the Text page, the Text Source page's tab and its two lists.
BESIDE_CARD = (520, 740)
WORDS_BOX = (938, 418)
SOURCE_TAB = (960, 36)
SOURCE_LIST = (946, 88)
VALUES_LIST = (919, 116)
WORDS = ["First words", "Second words"]


def click(s, point):
    s.xdotool("mousemove", "--sync", str(point[0]), str(point[1]), "click", "1")


def texts(design):
    return [o for o in dump_design(design)["front"]["objects"] if o["class"] == "SKTText"]


def pick(s, point, typed):
    """Opens a list with a click and picks the entry that starts with `typed`."""
    click(s, point)
    s.key(typed, "Return")


def main():
    work = tempfile.mkdtemp(prefix="tessaly-texts-together-")
    design = os.path.join(work, "two.dcard")
    r = subprocess.run([cardtool_path(), "design-hand", design, "--text", "10,10,100,30=" + WORDS[0],
                        "--text", "10,60,100,30=" + WORDS[1]], capture_output=True, text=True, timeout=60)
    check(r.returncode == 0, "cardtool design-hand failed: %s" % r.stderr)
    with Session("texts_together", args=(design,)) as s:
        dataset = os.path.join(s.data_folder(), "DataSet")
        os.makedirs(dataset, exist_ok=True)
        with open(os.path.join(dataset, "Names.txt"), "w") as f:
            f.write("Ann\nBob\n")
        s.focus()
        click(s, BESIDE_CARD)
        s.key("ctrl+a")
        click(s, WORDS_BOX)
        s.type_text("XYZ")
        shot = s.screenshot("typed-over-two-texts")
        # The box shows itself read-only: the window's colour behind it, not a field's white.
        from PIL import Image
        with Image.open(shot) as picture:
            ground = picture.convert("RGB").getpixel((WORDS_BOX[0], WORDS_BOX[1] + 150))
        check(ground != (255, 255, 255), "the words box over two texts looks as if it took typing")
        s.save_again()
        found = sorted(t["_Text_contents"]["text"] for t in texts(design))
        check(found == WORDS, "typing over two texts left them as %s" % found)

        click(s, SOURCE_TAB)
        pick(s, SOURCE_LIST, "S")  # Series
        pick(s, VALUES_LIST, "N")  # Names
        s.screenshot("both-bound")
        s.save_again()
        bound = [(t["data_source_type"], t["batch_list_name"], t["_Text_contents"]["text"]) for t in texts(design)]
        check(bound == [(1, "Names", "Ann")] * 2, "after the series was chosen: %s" % bound)

        pick(s, SOURCE_LIST, "M")  # Manual
        s.screenshot("both-manual")
        s.save_again()
        own = sorted((t["data_source_type"], t["_Text_contents"]["text"]) for t in texts(design))
        check(own == [(0, w) for w in WORDS], "after Manual: %s" % own)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("texts_together: ok")


if __name__ == "__main__":
    main()
