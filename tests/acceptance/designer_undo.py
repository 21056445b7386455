#!/usr/bin/python3
"""Undo in a real window, step by step: Tools > Text from the keyboard makes a text whose words have
the keyboard, so what is typed at once replaces the placeholder; the Text Properties page centres it;
then Ctrl+Z takes back the centring alone, and Ctrl+Z again the typing alone, leaving the text with
its placeholder. The saved design, read by cardtool design-dump, is checked after every step."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design  # noqa: E402

PLACEHOLDER = "Text here"
CENTRED = 2  # text_alignmnet: 0 left, 1 right, 2 centre


def texts(design):
    return [o for o in dump_design(design)["front"]["objects"] if o["class"] == "SKTText"]


def words(text):
    """The words a text draws: its storage's, or the words it was made with while it has none."""
    contents = text.get("_Text_contents")
    return contents["text"] if contents else text.get("Text_Value")


def step(s, design, label, *keys, typed=None):
    """The keys pressed over the card (then the text typed), the screen kept as label, the design
    saved: its texts."""
    s.focus()
    s.key(*keys)
    if typed:
        s.type_text(typed)
    s.screenshot(label)
    s.save_again()
    return texts(design)


def main():
    with Session("designer_undo") as s:
        design = os.path.join(s.home, "undo.dcard")
        check(s.save_design(design), "no design file was written")
        before = len(texts(design))

        # Tools > Text, and the words typed at once.
        typed = step(s, design, "typed", "alt+t", "t", typed="Hello guests")
        check(len(typed) == before + 1, "%d texts after Tools > Text, %d before" % (len(typed), before))
        text = typed[0]
        check(words(text) == "Hello guests", "the new text reads %r" % words(text))

        # Text Properties, Align: Centre (Left, Right, Centre in the list).
        text = step(s, design, "centred", "ctrl+Tab", "Tab", "Tab", "alt+Down", "Down", "Down", "Return")[0]
        check(text["text_alignmnet"] == CENTRED, "the alignment is %s" % text["text_alignmnet"])
        check(words(text) == "Hello guests", "centring changed the words to %r" % words(text))

        # Ctrl+Z: the centring alone goes.
        undone = step(s, design, "centring-undone", "ctrl+z")
        check(len(undone) == before + 1, "the first Ctrl+Z left %d texts" % len(undone))
        check(undone[0]["text_alignmnet"] == 0, "after Ctrl+Z the alignment is %s" % undone[0]["text_alignmnet"])
        check(words(undone[0]) == "Hello guests", "the first Ctrl+Z changed the words to %r" % words(undone[0]))

        # Ctrl+Z again: the typing goes as one step; the text stays, with its placeholder.
        undone = step(s, design, "typing-undone", "ctrl+z")
        check(len(undone) == before + 1, "the second Ctrl+Z left %d texts" % len(undone))
        check(words(undone[0]) == PLACEHOLDER, "after the second Ctrl+Z the text reads %r" % words(undone[0]))

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("designer_undo: ok")


if __name__ == "__main__":
    main()
