#!/usr/bin/python3
"""One card to each recipient, in order, as a user meets it: a design whose QR Code is bound to a
series of four rows, the second empty, mailed to four addresses through an SMTP server on
127.0.0.1. The check's question names the blank card and Return answers Cancel: nothing is sent.
Sent again without the blank card, each recipient's card decodes to the row of the same place,
the blank row's recipient gets nothing, and the end box names that address and its row."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.mailing import decoded, end_box, one_card_each, save_settings, series_design, start_server  # noqa: E402
from lib.session import Session, check, program_log  # noqa: E402

ROWS = ["ROW-1", "", "ROW-3", "ROW-4"]
RECIPIENTS = ["a@example.org", "b@example.org", "c@example.org", "d@example.org"]
NO_CARD = "No card for b@example.org (row 2): its card is blank and was left out"


def main():
    work = tempfile.mkdtemp(prefix="tessaly-mail-rows-")
    data, _, design = series_design(work, ROWS)
    server, inbox, port, cert = start_server(work)
    try:
        with Session("mail_rows", args=[design], env={"XDG_DATA_HOME": data, "SSL_CERT_FILE": cert}) as s:
            s.wait_until(lambda: s.xdotool("getwindowname", s.window).startswith("rows.dcard"), "the opened design")
            save_settings(s, port)
            mail = one_card_each(s, RECIPIENTS)
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
