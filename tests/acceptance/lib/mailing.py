"""What the mail scripts share: an inbox on the local SMTP server and the keys that reach the
mail windows."""
import email
import email.policy
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "output"))
from local_smtp import take_recipient  # noqa: E402


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
