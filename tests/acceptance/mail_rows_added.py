#!/usr/bin/python3
"""Rows added while the mail question is open, as a user meets it: a design whose QR Code reads a
series of 3 rows, one card to each of 5 addresses through an SMTP server on 127.0.0.1. The question
names the 2 addresses without a card; while it is open the series grows to 6 rows, and Send on it
sends nothing yet: the run asks again, now of 5 messages and a row that goes to nobody. Send there
mails each address the card of its row, and the end box and the log name the row without a
recipient."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.mailing import (  # noqa: E402
    decoded, end_box, one_card_each, save_settings, series_design, start_server, write_series)
from lib.session import Session, check, program_log  # noqa: E402

RECIPIENTS = ["a@example.org", "b@example.org", "c@example.org", "d@example.org", "e@example.org"]
NO_RECIPIENT = "No recipient for row 6: there are 5 recipients for 6 cards"


def row(k):
    return "ROW-%d" % k


def rows(count):
    return [row(k) for k in range(1, count + 1)]


def main():
    work = tempfile.mkdtemp(prefix="tessaly-mail-rows-added-")
    data, dataset, design = series_design(work, rows(3))
    server, inbox, port, cert = start_server(work)
    try:
        with Session("mail_rows_added", args=[design],
                     env={"XDG_DATA_HOME": data, "SSL_CERT_FILE": cert}) as s:
            s.wait_until(lambda: s.xdotool("getwindowname", s.window).startswith("rows.dcard"), "the opened design")
            save_settings(s, port)
            mail = one_card_each(s, RECIPIENTS)
            s.key("alt+s")
            first = s.modal_window(other_than=(mail,))
            s.screenshot_painted("mail-rows-added-first-question", first)
            write_series(dataset, rows(6))  # while the question about 3 cards is open
            s.focus(first)
            s.key("alt+s")  # Send
            check(s.wait_for_window_gone(".", window=first), "the first question stayed open")

            # The rows read after it are not those it asked about: a question again, nothing sent.
            second = s.modal_window(other_than=(mail, first))
            s.screenshot_painted("mail-rows-added-second-question", second)
            check(not inbox.messages, "%d messages went out before the second question" % len(inbox.messages))
            s.focus(second)
            s.key("alt+s")  # Send
            s.wait_until(lambda: len(inbox.messages) == 5, "five messages", timeout=60)
            s.wait_until(lambda: NO_RECIPIENT in program_log(s), "the row without a recipient in the log")
            end = end_box(s, mail, "mail-rows-added-end")
            got = {m["To"]: decoded(work, m, k) for k, m in enumerate(inbox.messages)}
            check(got == {address: row(k + 1) for k, address in enumerate(RECIPIENTS)},
                  "each recipient's card: %s" % got)
            s.focus(end)
            s.key("Return")
            check(s.wait_for_window_gone(".", window=end), "the end box stayed open")
            s.focus(mail)
            s.key("alt+c")
            s.wait_for_window_gone("Send Mail")
            check(s.quit(save=False) == 0, "the program did not end cleanly")
    finally:
        server.stop()
    print("mail_rows_added: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
