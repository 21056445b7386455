#!/usr/bin/python3
"""The inspector as a user meets it: a text from the Tools menu, "Hello" typed into the text page,
centred with the alignment list of the text properties page, saved, then checked with cardtool's
dump and a PDF rendering read back by pdftotext."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check, dump_design  # noqa: E402


def main():
    with Session("panels") as s:
        s.focus()
        # Tools > Text: the inspector shows the text pages, the keyboard is in the new text's words
        # with its placeholder selected, so typing replaces it.
        s.key("alt+t", "t")
        s.type_text("Hello")
        s.screenshot("typed")
        # By keyboard, so the steps hold whatever the inspector's width and its tabs' labels:
        # Ctrl+Tab steps through the inspector's pages, Tab through a page's controls in order.
        # "Text Properties": focus moves on to its first control, the Font button; then Colour, Align.
        s.key("ctrl+Tab", "Tab", "Tab")
        s.screenshot("properties")
        s.key("alt+Down")  # the alignment list opens
        s.key("Down", "Down", "Return")  # Left, Right, Centre
        s.screenshot("centred")

        design = os.path.join(s.home, "hello.dcard")
        check(s.save_design(design), "no design file was written")

        texts = [o for o in dump_design(design)["front"]["objects"] if o["class"] == "SKTText"]
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
