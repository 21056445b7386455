#!/usr/bin/python3
"""The inspector as a user meets it: a text from the Tools menu, "Hello" typed into the text page,
centred with the alignment list of the text properties page, saved, then checked with cardtool's
dump and a PDF rendering read back by pdftotext."""

import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, cardtool_path, check  # noqa: E402



def geometry(s, window):
    """Position and size of a window on the screen."""
    out = s.xdotool("getwindowgeometry", window)
    x = y = w = h = 0
    for line in out.splitlines():
        if "Position:" in line:
            x, y = (int(v) for v in line.split(":")[1].split("(")[0].strip().split(","))
        if "Geometry:" in line:
            w, h = (int(v) for v in line.split(":")[1].strip().split("x"))
    return x, y, w, h


def click(s, x, y):
    s.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")
    time.sleep(0.4)


def main():
    with Session("panels") as s:
        s.focus()
        s.key("alt+t", "t")  # Tools > Text: the inspector shows the text pages
        x, y, w, h = geometry(s, s.window)
        # The inspector is the right-hand column (about 300 pixels wide) under the menu bar.
        left = x + w - 300
        click(s, left + 150, y + 200)  # the text view, its text selected
        s.key("ctrl+a")
        s.type_text("Hello")
        s.screenshot("typed")
        click(s, left + 90, y + 40)  # the "Text Properties" tab
        s.screenshot("properties")
        click(s, left + 200, y + 166)  # the alignment list opens
        s.key("Down", "Down", "Return")  # Left, Right, Centre
        s.screenshot("centred")

        design = os.path.join(s.home, "hello.dcard")
        check(s.save_design(design), "no design file was written")

        dump = subprocess.run([cardtool_path(), "design-dump", design], capture_output=True, text=True, timeout=60)
        check(dump.returncode == 0, "cardtool design-dump failed: %s" % dump.stderr)
        texts = [o for o in json.loads(dump.stdout)["front"]["objects"] if o["class"] == "SKTText"]
        check(len(texts) == 1, "front texts: %s" % texts)
        check("Hello" in json.dumps(texts[0]), "the text is not Hello: %s" % texts[0])
        check(texts[0].get("text_alignmnet") == 2, "alignment is %s" % texts[0].get("text_alignmnet"))

        pdf = os.path.join(s.home, "hello.pdf")
        render = subprocess.run([cardtool_path(), "render", design, "--side", "front", "--format", "pdf", "--out", pdf],
                                capture_output=True, text=True, timeout=60)
        check(render.returncode == 0, "cardtool render failed: %s %s" % (render.stdout, render.stderr))
        text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True, timeout=30)
        check("Hello" in text.stdout, "the PDF reads %r" % text.stdout)

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("panels: ok")


if __name__ == "__main__":
    main()
