#!/usr/bin/python3
"""A barcode saved without its picture, as a design written by another tool keeps it: a QR Code
whose settings and value ("AAA111") are stored but no picture. Opened, the card in the window shows
that QR Code, read back from a screenshot (ZXingReader, zbarimg), and never the stand-in sample
EAN-13, which scans as a number nobody chose."""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.screen import qr_text  # noqa: E402
from lib.session import Session, check, new_design  # noqa: E402

VALUE = "AAA111"


def main():
    work = tempfile.mkdtemp(prefix="tessaly-barcode-without-picture-")
    try:
        design = os.path.join(work, "elsewhere.dcard")
        new_design(design, "--qr-text", VALUE)
        with Session("barcode_without_picture", args=[design]) as s:
            shot = s.screenshot_when("opened", lambda path: qr_text(path) == VALUE,
                                     "the card showing its own QR Code")
            r = subprocess.run(["zbarimg", "--nodbus", "-q", shot], capture_output=True, text=True, timeout=60)
            found = r.stdout.split()
            check("QR-Code:" + VALUE in found, "zbarimg read %s from the window" % found)
            check(not any(f.startswith("EAN-13:") for f in found), "the sample barcode showed: %s" % found)
            check(s.quit(save=False) == 0, "the program did not end cleanly")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("barcode_without_picture: passed")


if __name__ == "__main__":
    main()
