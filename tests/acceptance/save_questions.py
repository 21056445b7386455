#!/usr/bin/python3
"""Work is never lost, in the real windows:
1. A design opened from the command line is changed; Ctrl+O and then Escape: the save question's
   Cancel leaves the design and its title as they were (the change is still there and unsaved).
2. Ctrl+S, then Ctrl+Q: the program quits without a question, with status 0.
3. A PNG offered by another program (xclip) is pasted, the design saved and opened again: the
   picture is there at its size.
4. Another program saves the opened design while it is changed here; Ctrl+S asks whether to replace
   it, and a stray Return keeps the other program's file (the change here stays unsaved)."""

import os
import shutil
import sys
import tempfile

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import (MAIN_TITLE, AcceptanceError, Session, check, dump_design,  # noqa: E402
                         new_design, screenshot_dir, write_png)
from lib.screen import longest_runs, png_on_clipboard  # noqa: E402

PNG_SIZE = (90, 60)
PNG_COLOUR = (30, 170, 90)  # nothing else on the plain card has it


def title(s):
    return s.xdotool("getwindowname", s.window)


def wait_for_title(s, predicate, timeout=10):
    def matching():
        now = title(s)
        return now if predicate(now) else None
    try:
        return s.wait_until(matching, "the title", timeout)
    except AcceptanceError:
        raise AcceptanceError("the title stayed %r" % title(s))


def step_1_and_2():
    # A design of our own, written by the program's core from outside, opened at start.
    folder = tempfile.mkdtemp(prefix="tessaly-design-")
    keep = os.path.join(folder, "opened.dcard")
    new_design(keep)
    try:
        with Session("save_questions", args=[keep]) as s:
            name = os.path.basename(keep)
            opened = wait_for_title(s, lambda t: t.startswith(name))
            check(opened == "%s \u2014 %s" % (name, MAIN_TITLE), "the opened design's title is %r" % opened)

            # The change: Tools > Rectangle. The title gains the modified marker.
            s.focus()
            s.key("alt+t", "r")
            changed = wait_for_title(s, lambda t: t.startswith(name + "*"))
            check(changed.count(MAIN_TITLE) == 1, "the program's name is not there once: %r" % changed)
            s.screenshot("changed")

            # Step 1: Ctrl+O asks first; Escape is Cancel, and nothing changes.
            before = open(keep, "rb").read()
            s.focus()
            s.key("ctrl+o")
            box = s.modal_window()
            check(s.xdotool("getwindowname", box) != "Open Design", "Open showed its panel without the question")
            s.screenshot("question")
            s.focus(box)
            s.key("Escape")
            check(s.wait_for_window_gone(".", window=box), "the question stayed after Escape")
            check(not s.question_box(), "the question stayed after Escape")
            check(not s.find_window("Open Design"), "Cancel went on to the open panel")
            check(title(s) == changed, "the title became %r" % title(s))
            check(open(keep, "rb").read() == before, "the design file changed")
            s.screenshot("after-escape")

            # Step 2: Ctrl+S saves the design under its own name (the saved message answered); the
            # rectangle is in the file, so the design was the changed one; Ctrl+Q then asks nothing.
            s.save_again()
            wait_for_title(s, lambda t: t == opened)
            objects = dump_design(keep)["front"]["objects"]
            check([o["class"] for o in objects] == ["Shape_Control"], "the saved design holds %s" % objects)
            status = s.quit(unasked="Ctrl+Q asked a question after saving")
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("save_questions: steps 1 and 2 ok")


def coloured_run(path):
    return longest_runs(path, PNG_COLOUR)


def step_3():
    with Session("save_questions_paste") as s:
        png = os.path.join(s.home, "offered.png")
        write_png(png, PNG_SIZE[0], PNG_SIZE[1], PNG_COLOUR)
        with png_on_clipboard(s, png):
            s.focus()
            s.key("ctrl+v")
            s.screenshot_when("pasted", lambda shot: coloured_run(shot)[0] >= 10, "the pasted picture")

        design = os.path.join(s.home, "pasted.dcard")
        check(s.save_design(design), "no design file was written")
        images = [o for o in dump_design(design)["front"]["objects"] if o["class"] == "SKTImage"]
        check(len(images) == 1, "the saved design holds %d pictures" % len(images))
        kept = [v for v in images[0].values() if isinstance(v, str) and v.endswith(".png") and os.path.isfile(v)]
        check(kept, "STEP 3: the pasted picture is not kept in a file of its own: %s" % images[0])
        with Image.open(kept[0]) as picture:
            check(picture.size == PNG_SIZE, "the kept picture is %s" % (picture.size,))
        x, y, w, h = images[0]["_bounds"]
        check((w, h) == PNG_SIZE, "the picture object is %s x %s points" % (w, h))
        # The card clips what lies beyond its edge (100 %: one point is one pixel).
        visible = (PNG_SIZE[0] + min(0, x), PNG_SIZE[1] + min(0, y))

        # Reopened with Ctrl+O: just saved, so no question comes before the panel.
        s.open_design(design)
        try:
            shot = s.screenshot_when("reopened", lambda shot: coloured_run(shot)[0] >= visible[0] - 2,
                                     "the reopened picture", 10)
        except AcceptanceError:
            shot = os.path.join(screenshot_dir(), "%02d-reopened.png" % s.shots)
        run = coloured_run(shot)
        check(run[0] >= visible[0] - 2 and run[1] >= visible[1] - 2,
              "after reopening the picture shows %d x %d pixels, not %d x %d" % (run + visible))
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("save_questions: step 3 ok")


def step_4():
    folder = tempfile.mkdtemp(prefix="tessaly-design-")
    shared = os.path.join(folder, "shared.dcard")
    new_design(shared)
    try:
        with Session("save_questions_theirs", args=[shared]) as s:
            name = os.path.basename(shared)
            wait_for_title(s, lambda t: t.startswith(name))
            s.focus()
            s.key("alt+t", "r")
            changed = wait_for_title(s, lambda t: t.startswith(name + "*"))
            with open(shared, "rb") as f:
                theirs = f.read() + b"\n<!-- saved by another program -->\n"
            with open(shared, "wb") as f:
                f.write(theirs)
            s.focus()
            s.key("ctrl+s")
            box = s.modal_window()
            s.screenshot_painted("replace-theirs-question", box)
            s.focus(box)
            s.key("Return")
            check(s.wait_for_window_gone(".", window=box), "the question stayed after Return")
            check(not s.question_box(), "a message followed the question: %s" % s.question_box())
            with open(shared, "rb") as f:
                check(f.read() == theirs, "Return replaced the other program's save")
            check(title(s) == changed, "the title became %r" % title(s))
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("save_questions: step 4 ok")


def main():
    step_1_and_2()
    step_3()
    step_4()
    print("save_questions: ok")


if __name__ == "__main__":
    main()
