#!/usr/bin/python3
"""Mail as a user meets it: the e-mail settings typed in, a test message to an SMTP server on
127.0.0.1 (STARTTLS, a self-signed certificate) that reports success, the settings saved into a
private file, then the card of the current design sent from the mail window to three recipients,
one of whom the server refuses: the other two still get it. Each message is logged to the
program's log file, and nothing reaches the terminal."""

import os
import plistlib
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import MAIN_TITLE, Session, check, wait_until  # noqa: E402

from aiosmtpd.smtp import AuthResult  # noqa: E402

from lib.mailing import SENDER, fill, fill_settings, open_from_file_menu, start_server  # noqa: E402

PASSWORD = "geheim-ä"


REFUSED = "nobody@example.org"


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = auth_data.login == SENDER.encode() and auth_data.password == PASSWORD.encode("utf-8")
    return AuthResult(success=ok, handled=False)


def wait_for(condition, what, timeout=60):
    wait_until(condition, what, timeout)


def visible_windows(s):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], env=s.env,
                       capture_output=True, text=True, timeout=30)
    return r.stdout.split()


def message_box(s, *known, timeout=20):
    """The newest visible window that is neither the main window nor one of the known ones and
    is named after the program as message boxes are (the progress and please-wait sheets, which
    come and go on their own, are not)."""
    def box():
        for w in reversed(visible_windows(s)):
            if w != s.window and w not in known and s.xdotool("getwindowname", w, check=False) == MAIN_TITLE:
                return w
        return None
    return s.wait_until(box, "a message box", timeout)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-mail-")
    server, inbox, port, cert = start_server(work, authenticator, REFUSED)
    try:
        with Session("mail", env={"SSL_CERT_FILE": cert}) as s:
            settings = open_from_file_menu(s, 2, "E-mail Settings")
            fill_settings(s, port, PASSWORD)
            fill(s, "alt+r", "friend@example.org")
            s.key("alt+m")  # Send Test Mail: TLS (STARTTLS) is the choice while none is stored
            wait_for(lambda: len(inbox.messages) == 1, "the test message")
            box = message_box(s, settings)
            s.shots = 6  # the screenshots of all scripts are numbered as one series
            s.screenshot_painted("mail", box)
            test = inbox.messages[0]
            check(test["Subject"] == "Tessaly Greeting Designer Test Mail", "test subject %r" % test["Subject"])
            check("This is test mail sent by Tessaly Greeting Designer." in test.get_body().get_content(),
                  "test body")
            s.focus(box)
            s.key("Return")
            check(s.wait_for_window_gone(".", window=box), "the message box stayed open")
            s.focus(settings)
            s.key("alt+v")  # Save
            s.wait_for_window_gone("E-mail Settings")
            check(not s.find_window("E-mail Settings"), "the settings window is still open")
            stored = os.path.join(s.home, "config", "tessaly-designer", "com.zolv.card.plist")
            with open(stored, "rb") as f:
                saved = plistlib.load(f)
            check(saved.get("SendEmailSender") == SENDER and saved.get("SendEnableSSL") == "N"
                  and saved.get("SendEmailPORT") == str(port), "stored settings %s" % saved)
            mode = subprocess.run(["stat", "-c", "%a", stored], capture_output=True, text=True).stdout.strip()
            check(mode == "600", "the settings file has mode %s" % mode)

            mail = open_from_file_menu(s, 3, "Send Mail")
            fill(s, "alt+t", "one@example.org, %s, two@example.org" % REFUSED)
            fill(s, "alt+u", "Your card")
            s.screenshot("mail-window")
            s.key("alt+s")
            wait_for(lambda: len(inbox.messages) == 3, "the two card messages")
            box = message_box(s, mail)
            s.screenshot_painted("mail-sent", box)
            for message in inbox.messages[1:]:
                names = [part.get_filename() for part in message.iter_attachments()]
                check(names == ["ZOLVCard.jpeg"], "attachments %s" % names)
                picture = next(message.iter_attachments())
                check(picture.get_content_type() == "image/jpeg", "type %s" % picture.get_content_type())
                check(picture.get_content()[:3] == b"\xff\xd8\xff", "the attachment is not JPEG data")
            check(sorted(m["To"] for m in inbox.messages[1:]) == ["one@example.org", "two@example.org"],
                  "recipients %s" % [m["To"] for m in inbox.messages[1:]])
            s.focus(box)
            s.key("Return")
            check(s.wait_for_window_gone(".", window=box), "the message box stayed open")
            s.focus(mail)
            s.key("alt+c")  # Close
            s.wait_for_window_gone("Send Mail")
            check(s.quit(save=False) == 0, "the program did not end cleanly")
            with open(os.path.join(s.home, "state", "tessaly-designer", "tessaly-designer.log")) as f:
                logged = f.read()
            with open(os.path.join(s.home, "program.log")) as f:
                terminal = f.read()
            for address in ("one@example.org", REFUSED, "two@example.org"):
                check("Sending mail to %s" % address in logged, "%s is not in the log file" % address)
            check("Sending mail" not in terminal and "Test message" not in terminal,
                  "the terminal shows: %r" % terminal)
    finally:
        server.stop()
    print("mail: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
