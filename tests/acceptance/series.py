#!/usr/bin/python3
"""Series as a user makes them: Data > Generate Series, the numbers 1 to 5 named S1 typed with the
keyboard, the series file checked on disk, and the series manager showing it. Then, while another
instance has S1 open, generating S1 again is refused as in use: a message instead of the replace
question, and the file stays as it was."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check  # noqa: E402


def fill_generator(s, name, first, last):
    s.focus()
    s.key("alt+d", "g")
    generator = s.wait_for_window("Generate Series")
    s.focus(generator)
    # The generator opens on the prefix; the series name is the field before it.
    s.key("shift+Tab", "ctrl+a")
    s.type_text(name)
    s.key("Tab", "Tab", "Tab")
    s.type_text(first)
    s.key("Tab")
    s.type_text(last)
    return generator



def main():
    with Session("series") as s:
        s.screenshot("start")
        s.focus()
        s.key("alt+d", "g")
        generator = s.wait_for_window("Generate Series")
        s.focus(generator)
        s.screenshot("generator")
        # The generator opens on the prefix; the series name is the field before it.
        s.key("shift+Tab", "ctrl+a")
        s.type_text("S1")
        s.key("Tab", "Tab", "Tab")
        s.type_text("1")
        s.key("Tab")
        s.type_text("5")
        s.screenshot("generator-filled")
        s.key("Return")
        s.wait_for_window_gone("Generate Series")

        series = os.path.join(s.home, "data", "tessaly-designer", "DataSet", "S1.txt")
        s.wait_until(lambda: os.path.exists(series), "the series file S1.txt", 10)
        with open(series, "rb") as f:
            content = f.read()
        check(content == b"1\n2\n3\n4\n5\n", "S1.txt holds %r" % content)
        s.screenshot("generated")

        s.focus()
        s.key("alt+d", "s")
        manager = s.wait_for_window("Batch Processing Series")
        s.focus(manager)
        s.screenshot("manager")
        s.key("Escape")
        s.wait_for_window_gone("Batch Processing Series")

        # Another instance edits S1: generating it again is refused, without the replace question.
        other = subprocess.Popen([cardtool_path(), "series-edit", os.path.dirname(series), "S1"],
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        try:
            check(other.stdout.readline().strip() == "held", "the other instance did not hold S1")
            generator = fill_generator(s, "S1", "1", "3")
            s.key("Return")
            box = s.modal_window(other_than=(generator,))
            s.screenshot_painted("generate-in-use", box)
            s.focus(box)
            s.key("Return")
            check(s.wait_for_window_gone(".", window=box), "the in-use message stayed after Return")
            check(s.find_window("Generate Series"), "the generator closed after the refusal")
            with open(series, "rb") as f:
                check(f.read() == content, "S1.txt was replaced while in use elsewhere")
            s.focus(generator)
            s.key("Escape")
            s.wait_for_window_gone("Generate Series")
        finally:
            other.stdin.close()
            other.wait(timeout=30)

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("series: ok")


if __name__ == "__main__":
    main()
