#!/usr/bin/python3
"""Thirty different 12-megapixel photos, 38 x 28 points each on the card: the design opens with
every photo shown, and the whole program stays under 300 MB at its peak, since each photo is
decoded at the size the screen shows it rather than whole (about 47 MB each)."""

import os
import sys
import tempfile

from PIL import Image, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, hand_design  # noqa: E402

PHOTOS = 30
LIMIT_MB = 300


def write_photo(path, tint):
    """A 4000 x 3000 JPEG of soft colour fields, different for each tint."""
    small = Image.new("RGB", (40, 30))
    small.putdata([((x * 6 + tint * 37) % 256, (y * 8 + tint * 53) % 256, (x * y + tint * 11) % 256)
                   for y in range(30) for x in range(40)])
    small.resize((4000, 3000), Image.BICUBIC).filter(ImageFilter.GaussianBlur(4)).save(path, "JPEG", quality=85)


def peak_mb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return 0


def many_colours(shot):
    with Image.open(shot) as image:
        return len(image.convert("RGB").getcolors(1 << 20) or []) > 3000


def main():
    home = tempfile.mkdtemp(prefix="tessaly-photos-memory-")
    places = []
    for i in range(PHOTOS):
        photo = os.path.join(home, "photo-%02d.jpg" % i)
        write_photo(photo, i)
        places += ["--picture", "%d,%d,38,28=%s" % (2 + (i % 6) * 40, 2 + (i // 6) * 30, photo)]
    design = os.path.join(home, "photos.dcard")
    hand_design(design, *places, timeout=120)
    with Session("photos_memory", args=(design,)) as s:
        s.screenshot_when("thirty-photos", many_colours, "the photos on the card", timeout=60)
        s.focus()
        s.key("ctrl+a")
        s.screenshot("thirty-photos-selected")
        peak = peak_mb(s.app.pid)
        check(peak < LIMIT_MB, "the program peaked at %.0f MB with %d photos shown" % (peak, PHOTOS))
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("photos_memory: ok (peak %.0f MB)" % peak)


if __name__ == "__main__":
    main()
