#!/usr/bin/python3
"""One card to each recipient, in order, as a user meets it: a design whose QR Code is bound to a
series of four rows, the second empty, mailed to four addresses through an SMTP server on
127.0.0.1. The check's question names the blank card and Return answers Cancel: nothing is sent.
Sent again without the blank card, each recipient's card decodes to the row of the same place,
the blank row's recipient gets nothing, and the end box names that address and its row."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check  # noqa: E402

from aiosmtpd.smtp import AuthResult  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "output"))
from local_smtp import self_signed, starttls_server  # noqa: E402
from lib.mailing import Inbox, decoded, end_box, fill, open_from_file_menu, program_log  # noqa: E402

ROWS = ["ROW-1", "", "ROW-3", "ROW-4"]
RECIPIENTS = ["a@example.org", "b@example.org", "c@example.org", "d@example.org"]
NO_CARD = "No card for b@example.org (row 2): its card is blank and was left out"





def main():
    work = tempfile.mkdtemp(prefix="tessaly-mail-rows-")
    data = os.path.join(work, "data")
    dataset = os.path.join(data, "tessaly-designer", "DataSet")
    os.makedirs(dataset)
    with open(os.path.join(dataset, "rows.txt"), "w") as f:
        f.write("\n".join(ROWS))
    design = os.path.join(work, "rows.dcard")
    made = subprocess.run([cardtool_path(), "design-hand", design, "--qr-series", "rows"],
                          capture_output=True, text=True, timeout=60)
    check(made.returncode == 0, "cardtool design-hand failed: %s" % made.stderr)
    context, cert = self_signed(work)
    inbox = Inbox()
    server, port = starttls_server(inbox, context, lambda *args: AuthResult(success=True))
    try:
        with Session("mail_rows", args=[design], env={"XDG_DATA_HOME": data, "SSL_CERT_FILE": cert}) as s:
            s.wait_until(lambda: s.xdotool("getwindowname", s.window).startswith("rows.dcard"), "the opened design")
            settings = open_from_file_menu(s, 2, "E-mail Settings")
            fill(s, "alt+e", "cards@example.com")
            fill(s, "alt+p", "secret")
            fill(s, "alt+s", "127.0.0.1")
            fill(s, "alt+o", str(port))
            s.key("alt+v")  # Save
            check(s.wait_for_window_gone("E-mail Settings", window=settings), "the settings window stayed open")

            mail = open_from_file_menu(s, 3, "Send Mail")
            fill(s, "alt+t", ", ".join(RECIPIENTS))
            fill(s, "alt+u", "Your card")
            # From the message: the mode, the file name, the side, then the series box (ticked with
            # Space) and the choice of who gets which card (Down: one card each, in order).
            s.key("alt+e", "Tab", "Tab", "Tab", "Tab", "space", "Tab", "Down")
            s.screenshot("mail-rows-window")
            s.key("alt+s")
            question = s.modal_window(other_than=(mail,))
            s.screenshot_painted("mail-rows-question", question)
            s.wait_until(lambda: "1 of 4 cards (row 2)" in program_log(s), "the blank card in the log")
            s.focus(question)
            s.key("Return")  # the default answer: Cancel
            check(s.wait_for_window_gone(".", window=question), "the question stayed open")
            check(not inbox.messages, "Return on the question sent %d messages" % len(inbox.messages))

            s.focus(mail)
            s.key("alt+s")
            question = s.modal_window(other_than=(mail,))
            s.focus(question)
            s.key("alt+w")  # Send Without Blank Cards
            s.wait_until(lambda: len(inbox.messages) == 3, "three messages", timeout=60)
            s.wait_until(lambda: NO_CARD in program_log(s), "the recipient without a card in the log")
            end = end_box(s, mail, "mail-rows-end")
            got = {m["To"]: decoded(work, m, k) for k, m in enumerate(inbox.messages)}
            check(got == {"a@example.org": "ROW-1", "c@example.org": "ROW-3", "d@example.org": "ROW-4"},
                  "each recipient's card: %s" % got)
            s.focus(end)
            s.key("Return")
            check(s.wait_for_window_gone(".", window=end), "the end box stayed open")
            s.focus(mail)
            s.key("Return")  # a stray key after the run: it must not send the run again
            s.key("alt+c")
            s.wait_for_window_gone("Send Mail")
            check(len(inbox.messages) == 3, "a stray Return sent %d more" % (len(inbox.messages) - 3))
            check(s.quit(save=False) == 0, "the program did not end cleanly")
    finally:
        server.stop()
    print("mail_rows: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
