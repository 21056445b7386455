"""What the mail scripts share: an inbox on the local SMTP server and the keys that reach the
mail windows."""
import email
import email.policy
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "output"))
from local_smtp import take_recipient  # noqa: E402
from lib.session import AcceptanceError  # noqa: E402


class Inbox:
    """Takes every message; `refused` is an address the server turns away."""

    def __init__(self, refused=None):
        self.messages = []
        self.refused = refused

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        return take_recipient(envelope, address, self.refused)

    async def handle_DATA(self, server, session, envelope):
        self.messages.append(email.message_from_bytes(envelope.content, policy=email.policy.default))
        return "250 OK"


def open_from_file_menu(s, ups, title):
    """File menu from the bottom: Exit, then E-mail Settings, then Mail."""
    s.focus()
    s.key("alt+f")
    s.key(*(["Up"] * ups))
    s.key("Return")
    window = s.wait_for_window(title)
    s.focus(window)
    return window


def fill(s, mnemonic, text):
    s.key(mnemonic, "ctrl+a")
    s.type_text(text)


def program_log(s):
    """The program's log in the session's home, or "" before it is written."""
    path = os.path.join(s.home, "state", "tessaly-designer", "tessaly-designer.log")
    if not os.path.exists(path):
        return ""
    with open(path, encoding="utf-8") as f:
        return f.read()


def end_box(s, mail, label):
    """The box that ends the run: the progress sheet may still be going as the run's last line is
    logged, so a window that goes away under the screenshot was the sheet, and the next is looked for."""
    for _ in range(5):
        box = s.modal_window(other_than=(mail,))
        try:
            s.screenshot_painted(label, box)
            return box
        except AcceptanceError:
            continue
    raise AcceptanceError("the end box did not stay")


def decoded(work, message, k):
    """The QR Code text of a message's attachment, as zbarimg reads it."""
    picture = next(message.iter_attachments())
    path = os.path.join(work, "received-%d.jpeg" % k)
    with open(path, "wb") as f:
        f.write(picture.get_content())
    r = subprocess.run(["zbarimg", "--nodbus", "-q", "--raw", path], capture_output=True, text=True, timeout=60)
    return r.stdout.strip()
