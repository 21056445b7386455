"""Reading what a screenshot shows."""

import contextlib
import re
import subprocess

from PIL import Image

from .session import check


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


def qr_text(path):
    """The text of the one QR Code ZXingReader finds in a picture, or None."""
    r = subprocess.run(["ZXingReader", "-1", "-format", "QRCode", path], capture_output=True, text=True,
                       timeout=60)
    m = re.search(r'"(.*)"', r.stdout)
    return m.group(1) if m else None


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


def button_groups(shot, box):
    """The buttons of the window's left-hand column, found on a screenshot by their outlines: a
    list of groups (buttons that touch), each a list of button centres, top to bottom."""
    x0, y0, w, h = box
    with Image.open(shot) as picture:
        px = picture.convert("RGB").load()

    def outline(p):  # the grey of a button's outline
        return max(p) - min(p) < 20 and 150 <= p[0] <= 195

    # Inside the column a pixel line down the screen meets only the buttons' top and bottom
    # outlines; the column's own sides and the pictures below meet far more or far fewer.
    inside = [x for x in range(x0, x0 + w // 4)
              if 30 <= sum(1 for y in range(y0, y0 + h) if outline(px[x, y])) <= 100]
    check(inside, "no column of buttons on the left")
    xc = inside[len(inside) // 2]
    rows = [y for y in range(y0, y0 + h) if all(outline(px[x, y]) for x in range(xc - 10, xc + 11))]
    buttons = []
    i = 0
    while i + 1 < len(rows):
        if 10 <= rows[i + 1] - rows[i] <= 40:
            buttons.append((rows[i], rows[i + 1]))
            i += 2
        else:
            i += 1
    groups = []
    for top, bottom in buttons:
        if groups and top - groups[-1][-1][1] <= 3:
            groups[-1].append((top, bottom))
        else:
            groups.append([(top, bottom)])
    return [[(xc, (top + bottom) // 2) for top, bottom in group] for group in groups]
