#!/usr/bin/python3
"""An SMTP server on 127.0.0.1 for the mail window tests: STARTTLS with a certificate of its own,
any login taken once the connection is secure, and 550 for the one recipient given with --refuse.

Usage: smtp_server.py FOLDER [--refuse ADDRESS]
Prints "PORT CERTIFICATE" once it listens, appends the recipient of each message it takes to
FOLDER/delivered (a line each), keeps the attachments of message N to recipient R in
FOLDER/received/N-R/, and ends when its standard input closes.
"""

import email
import email.policy
import os
import sys
import warnings

from aiosmtpd.smtp import AuthResult

from local_smtp import self_signed, starttls_server, take_recipient


class Handler:
    def __init__(self, folder, refuse):
        self.delivered = os.path.join(folder, "delivered")
        self.refuse = refuse

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        return take_recipient(envelope, address, self.refuse)

    async def handle_DATA(self, server, session, envelope):
        with open(self.delivered, "a") as f:
            for address in envelope.rcpt_tos:
                f.write(address + "\n")
        self.keep_attachments(envelope)
        return "250 OK"

    def keep_attachments(self, envelope):
        received = os.path.join(os.path.dirname(self.delivered), "received")
        os.makedirs(received, exist_ok=True)
        folder = os.path.join(received, "%03d-%s" % (len(os.listdir(received)) + 1, ",".join(envelope.rcpt_tos)))
        os.makedirs(folder)
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        for part in message.iter_attachments():
            with open(os.path.join(folder, os.path.basename(part.get_filename())), "wb") as f:
                f.write(part.get_payload(decode=True))


def main():
    warnings.simplefilter("ignore")  # aiosmtpd's notes on its own deprecations
    folder = sys.argv[1]
    refuse = sys.argv[sys.argv.index("--refuse") + 1] if "--refuse" in sys.argv else None
    os.makedirs(folder, exist_ok=True)
    context, cert = self_signed(folder)
    server, port = starttls_server(Handler(folder, refuse), context, lambda *args: AuthResult(success=True))
    print(port, cert, flush=True)
    try:
        sys.stdin.read()
    finally:
        server.stop()


if __name__ == "__main__":
    main()
