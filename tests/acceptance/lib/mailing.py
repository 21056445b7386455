"""What the mail scripts share: an inbox on the local SMTP server and the keys that reach the
mail windows."""
import email
import email.policy
import os
import subprocess
import sys

from aiosmtpd.smtp import AuthResult

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "output"))
from local_smtp import self_signed, starttls_server, take_recipient  # noqa: E402
from lib.session import AcceptanceError, check, hand_design  # noqa: E402

SENDER = "cards@example.com"


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


def any_login(*args):
    return AuthResult(success=True)


def start_server(work, authenticator=any_login, refused=None):
    """An SMTP server on 127.0.0.1 that wants STARTTLS (its certificate made in work) before a
    login; returns it, its inbox, its port and the certificate's path (the program's SSL_CERT_FILE)."""
    context, cert = self_signed(work)
    inbox = Inbox(refused)
    server, port = starttls_server(inbox, context, authenticator)
    return server, inbox, port, cert


def series_design(work, rows):
    """A design whose QR Code reads the series "rows" (its lines written in a data folder in work);
    returns the data folder (the program's XDG_DATA_HOME), the series folder and the design."""
    data = os.path.join(work, "data")
    dataset = os.path.join(data, "tessaly-designer", "DataSet")
    os.makedirs(dataset)
    write_series(dataset, rows)
    design = os.path.join(work, "rows.dcard")
    hand_design(design, "--qr-series", "rows")
    return data, dataset, design


def write_series(dataset, rows):
    with open(os.path.join(dataset, "rows.txt"), "w") as f:
        f.write("\n".join(rows))


def fill_settings(s, port, password):
    """The e-mail settings window's sender, password, server (127.0.0.1) and port."""
    fill(s, "alt+e", SENDER)
    fill(s, "alt+p", password)
    fill(s, "alt+s", "127.0.0.1")
    fill(s, "alt+o", str(port))


def save_settings(s, port):
    """File > E-mail Settings, the local server's filled in, Save."""
    settings = open_from_file_menu(s, 2, "E-mail Settings")
    fill_settings(s, port, "secret")
    s.key("alt+v")  # Save
    check(s.wait_for_window_gone("E-mail Settings", window=settings), "the settings window stayed open")


def one_card_each(s, recipients):
    """File > Send Mail to the recipients, the series box ticked and one card each, in order;
    returns the mail window."""
    mail = open_from_file_menu(s, 3, "Send Mail")
    fill(s, "alt+t", ", ".join(recipients))
    fill(s, "alt+u", "Your card")
    # From the message: the mode, the file name, the side, then the series box (ticked with
    # Space) and the choice of who gets which card (Down: one card each, in order).
    s.key("alt+e", "Tab", "Tab", "Tab", "Tab", "space", "Tab", "Down")
    return mail


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
