"""Reading what a screenshot shows."""

import contextlib
import subprocess

from PIL import Image


def longest_runs(path, colour, tolerance=6):
    """The longest horizontal and vertical runs of a colour in a screenshot (rows and columns are
    sampled every third pixel): the size at which a plain-coloured picture shows."""
    shot = Image.open(path).convert("RGB")
    px = shot.load()
    w, h = shot.size

    def near(p):
        return all(abs(a - b) <= tolerance for a, b in zip(p, colour))

    longest_x = longest_y = 0
    for y in range(0, h, 3):
        run = 0
        for x in range(w):
            run = run + 1 if near(px[x, y]) else 0
            longest_x = max(longest_x, run)
    for x in range(0, w, 3):
        run = 0
        for y in range(h):
            run = run + 1 if near(px[x, y]) else 0
            longest_y = max(longest_y, run)
    return longest_x, longest_y


@contextlib.contextmanager
def png_on_clipboard(session, png):
    """xclip offers the PNG file on the session's clipboard (in the foreground, so it can be ended
    by its own id) until the block ends."""
    offer = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-t", "image/png", "-i", png],
                             env=session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        session.wait_until(lambda: b"image/png" in session.clipboard("TARGETS"), "the offered picture", 10)
        yield
    finally:
        offer.terminate()
        offer.wait(timeout=10)
