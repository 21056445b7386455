#!/usr/bin/python3
"""The check before an export, as a user meets it: a saved design with a text typed by hand that its
box cuts (and a Devanagari name that fits its box, not named), a picture whose file has gone since, and a QR Code bound to a three-row series. Opening
it names the missing picture; File > Export asks, before any folder is asked for, with both named; Yes exports every card, and the
title shows no unsaved change afterwards. Then a QR Code bound to a series with two empty rows of four:
the question names the blank cards by their rows; a stray Return stops (its default), and Go On Without
Blank Cards exports the other two."""

import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, hand_design, program_log, write_png  # noqa: E402

CUT = 'The text "Supercalifragilistic" on the front does not fit its box and is cut.'
DEVANAGARI = "\u092a\u094d\u0930\u093f\u092f\u093e \u0926\u0947\u0935\u0940"
ROWS = 3


def main():
    work = tempfile.mkdtemp(prefix="tessaly-check-")
    try:
        data = os.path.join(work, "data")
        dataset = os.path.join(data, "tessaly-designer", "DataSet")
        os.makedirs(dataset)
        with open(os.path.join(dataset, "rows.txt"), "w") as f:
            f.write("\n".join("ROW-%d" % k for k in range(1, ROWS + 1)))
        photo = os.path.join(work, "photo.png")
        write_png(photo, 40, 30, (200, 30, 30))
        design = os.path.join(work, "card.dcard")
        hand_design(design, "--text", "10,10,40,20=Supercalifragilistic", "--text", "120,60,120,30=" + DEVANAGARI,
                    "--picture", "150,10,60,40=" + photo, "--qr-series", "rows")
        os.remove(photo)  # gone before the design is opened again
        gone = 'The picture on the front is blank: its file "%s" is gone.' % photo

        with Session("check_before_export", args=[design], env={"XDG_DATA_HOME": data}) as s:
            def opened():
                title = s.xdotool("getwindowname", s.window)
                return title.startswith("card.dcard") and "*" not in title
            s.wait_until(opened, "the opened design's title without a change")
            # Opening names the picture whose file is gone before anything else.
            notice = s.modal_window()
            s.screenshot_painted("missing-picture-on-open", notice)
            s.focus(notice)
            s.key("Return")
            s.wait_until(lambda: not s.question_box(), "the notice to close")
            question = s.export_until_asked("check-question")
            asked = s.wait_until(lambda: CUT in program_log(s) and gone in program_log(s) and program_log(s),
                                 "the question's problems in the log")
            for problem in (CUT, gone):
                check(problem + "\n%d of %d cards (rows 1, 2, 3)" % (ROWS, ROWS) in asked,
                      "the question does not name %r:\n%s" % (problem, asked))
            # A name whose vowel sign reaches above its face's line fits its box and is not named.
            check(DEVANAGARI not in asked and asked.count(" is cut.") == 1,
                  "the question names a text that fits:\n%s" % asked)
            check(not s.windows("^Export$"), "a folder was asked for before the question was answered")
            s.focus(question)
            s.key("alt+g")  # Go On

            out = os.path.join(work, "out")
            os.makedirs(out)
            s.choose_export_folder(out)
            s.close_exported_files()
            batch = os.path.join(out, "ZOLV Tessaly Greeting Card")
            cards = glob.glob(os.path.join(batch, "Card_*.png"))
            check(len([c for c in cards if not c.endswith("_Back.png")]) == ROWS, "cards written: %s" % cards)

            title = s.xdotool("getwindowname", s.window)
            check(title.startswith("card.dcard") and "*" not in title, "after the export the title is %r" % title)
            s.screenshot("after-export")

            # Nothing to save: Ctrl+Q ends the program without the save question.
            status = s.quit(unasked="quitting asked to save changes after the export")
            check(status == 0, "exit status %s" % status)
        blank_cards(work, data, dataset)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("check_before_export: ok")


def blank_cards(work, data, dataset):
    with open(os.path.join(dataset, "gaps.txt"), "w") as f:
        f.write("G-1\n\n\nG-4")
    design = os.path.join(work, "gaps.dcard")
    hand_design(design, "--qr-series", "gaps")
    blank = "Blank cards: every value they are filled with is empty.\n2 of 4 cards (rows 2, 3)"
    with Session("check_before_export_blank", args=[design], env={"XDG_DATA_HOME": data}) as s:
        s.wait_until(lambda: s.xdotool("getwindowname", s.window).startswith("gaps.dcard"), "the opened design")
        question = s.export_until_asked("blank-cards-question")
        s.wait_until(lambda: blank in program_log(s), "the blank cards in the log")
        s.focus(question)
        s.key("Return")  # the default stops: no folder is asked for, nothing is written
        check(s.wait_for_window_gone(".", window=question), "the question stayed after Return")
        check(not s.windows("^Export"), "Return went on to the export")
        question = s.export_until_asked("blank-cards-question-again")
        s.focus(question)
        s.key("alt+w")  # Go On Without Blank Cards
        out = os.path.join(work, "gaps-out")
        os.makedirs(out)
        s.choose_export_folder(out)
        s.close_exported_files()
        cards = sorted(os.path.basename(c) for c in glob.glob(os.path.join(out, "ZOLV Tessaly Greeting Card", "*")))
        check(cards == ["Card_1.png", "Card_2.png"], "cards written without the blank ones: %s" % cards)
        status = s.quit(unasked="quitting asked to save changes after the export")
        check(status == 0, "exit status %s" % status)


if __name__ == "__main__":
    main()
