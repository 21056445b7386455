#!/usr/bin/python3
"""Each inspector change is one step of its own, as a user meets it in the real window: a text from
the Tools menu, then on its Text Properties page the font size (in the font chooser), the colour
(in the colour chooser), the alignment list and the spacing stepper; on the card page the border
and the fill. Ctrl+Z, once a change, takes back exactly that change (the saved design is as it was
before it), and Ctrl+Y puts each back in turn. Then a rectangle over the text, both selected with
Ctrl+A: selecting writes nothing (the inspector shows the pages of the rectangle, the object in
front). The saved design, read by cardtool design-dump, is checked after every step."""

import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import AcceptanceError, Session, check, dump_design  # noqa: E402

GREEN = "#0c8c3c"
CENTRED = 2  # text_alignmnet: 0 left, 1 right, 2 centre


def sides(design):
    """What a save wrote of both sides: their pages and objects."""
    dumped = dump_design(design)
    return {"front": dumped["front"], "back": dumped["back"]}


def text_of(state):
    texts = [o for o in state["front"]["objects"] if o["class"] == "SKTText"]
    check(len(texts) == 1, "the front holds %d texts" % len(texts))
    return texts[0]


def page_of(state):
    return state["front"]["page"]


def differences(a, b, path=""):
    """The fields where two dumps differ, for the failure message."""
    if isinstance(a, dict) and isinstance(b, dict):
        out = []
        for k in sorted(set(a) | set(b)):
            out += differences(a.get(k), b.get(k), "%s/%s" % (path, k))
        return out
    if isinstance(a, list) and isinstance(b, list) and len(a) == len(b) and all(
            isinstance(x, dict) for x in a + b):
        out = []
        for k, (x, y) in enumerate(zip(a, b)):
            out += differences(x, y, "%s[%d]" % (path, k))
        return out
    return [] if a == b else ["%s: %s != %s" % (path, json.dumps(a), json.dumps(b))]


def saved(s, design, label):
    s.screenshot(label)
    s.save_again()
    return sides(design)


class Steps:
    """The design as saved before the first change and after each, with the changes' names."""

    def __init__(self, s, design):
        self.s, self.design = s, design
        self.states = [saved(s, design, "before-changes")]
        self.names = []

    def change(self, name, field):
        """Saves the change just made, which must have changed field(state); its new value."""
        state = saved(self.s, self.design, name.replace(" ", "-"))
        check(field(state) != field(self.states[-1]), "the %s stayed %s" % (name, field(state)))
        self.states.append(state)
        self.names.append(name)
        return field(state)


def beside_card(s):
    """A point of the canvas beside the card: the middle of the first run of the view's plain grey
    on the window's middle line, right of the tool column."""
    from PIL import Image
    shot = s.screenshot("before-card-page")
    x, y, w, h = s.geometry(s.window)
    line = y + h // 2
    with Image.open(shot) as picture:
        px = picture.convert("RGB").load()

        def grey(cx):
            r, g, b = px[cx, line]
            return r == g == b and 190 <= r <= 232
        for cx in range(x + w // 5, x + w // 2):
            if all(grey(cx + d) for d in range(12)):
                return cx + 6, line
    raise AcceptanceError("no canvas beside the card")


def chooser(s):
    """The chooser a control opened: the newest window other than the main window."""
    window = s.modal_window()
    s.focus(window)
    return window


def main():
    with Session("inspector_undo") as s:
        design = os.path.join(s.home, "steps.dcard")
        check(s.save_design(design), "no design file was written")

        # Tools > Text: the words have the keyboard, typing replaces the placeholder.
        s.focus()
        s.key("alt+t", "t")
        s.type_text("Hello")
        steps = Steps(s, design)

        # Text Properties: the keyboard starts on the Font button.
        s.focus()
        s.key("ctrl+Tab")
        s.key("space")
        font = chooser(s)
        s.screenshot_painted("font-chooser", font)
        s.key("alt+s", "ctrl+a")
        s.type_text("30")
        s.key("Return")
        s.wait_for_window_gone(".", window=font)
        size = steps.change("font size", lambda state: text_of(state)["text_ctrl_font"]["size"])
        check(size == 30, "the font size is %s" % size)

        # Colour: its well opens the colour chooser, whose HTML field takes the colour typed.
        s.focus()
        s.key("Tab", "space")
        colour = chooser(s)
        s.screenshot_painted("colour-chooser", colour)
        s.key("alt+h", "ctrl+a")
        s.type_text(GREEN)
        s.key("Return")
        s.wait_for_window_gone(".", window=colour)
        rgb = steps.change("colour", lambda state: [round(c * 255) for c in text_of(state)["txt_clr"][:3]])
        check(rgb == [0x0c, 0x8c, 0x3c], "the text colour is %s" % rgb)

        # Align: Left, Right, Centre in the list.
        s.focus()
        s.key("Tab", "alt+Down", "Down", "Down", "Return")
        aligned = steps.change("alignment", lambda state: text_of(state)["text_alignmnet"])
        check(aligned == CENTRED, "the alignment is %s" % aligned)

        # Spacing: past the case list, its stepper one step up.
        s.focus()
        s.key("Tab", "Tab", "Up")
        steps.change("spacing", lambda state: text_of(state)["text_kerning"])

        # The card page: a click on the canvas beside the card leaves the text, and Tab goes on from
        # the canvas into the page (its name); its Border tab starts on the border check.
        x, y = beside_card(s)
        s.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")
        s.key("Tab", "ctrl+Tab", "ctrl+Tab", "Tab")
        s.screenshot("border-tab")
        s.key("space")
        steps.change("card border", lambda state: page_of(state)["Card_border_chk"])

        # Its Background tab, which starts on the fill check.
        s.focus()
        s.key("ctrl+shift+Tab")
        s.screenshot("background-tab")
        s.key("space")
        steps.change("card fill", lambda state: page_of(state)["Card_fill_chk"])

        # Ctrl+Z once a change, newest first: each takes back its own change alone.
        states, names = steps.states, steps.names
        for k in range(len(names), 0, -1):
            s.focus()
            s.key("ctrl+z")
            now = saved(s, design, "undone-" + names[k - 1].replace(" ", "-"))
            check(now == states[k - 1], "Ctrl+Z on the %s left: %s" % (
                names[k - 1], differences(now, states[k - 1])))
        # Ctrl+Y puts them back in turn.
        for k in range(1, len(names) + 1):
            s.focus()
            s.key("ctrl+y")
            now = saved(s, design, "redone-" + names[k - 1].replace(" ", "-"))
            check(now == states[k], "Ctrl+Y of the %s left: %s" % (names[k - 1], differences(now, states[k])))

        # A rectangle over the text (Tools > Rectangle), and both selected.
        s.focus()
        s.key("alt+t", "r")
        both = saved(s, design, "rectangle")
        s.focus()
        s.key("ctrl+a")
        s.screenshot("text-and-rectangle-selected")
        s.save_again()
        check(sides(design) == both, "selecting both changed the design: %s" % differences(sides(design), both))

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("inspector_undo: ok")


if __name__ == "__main__":
    main()
