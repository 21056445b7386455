#!/usr/bin/python3
"""An SMTP server on 127.0.0.1 for the mail window tests: STARTTLS with a certificate of its own,
any login taken once the connection is secure, and 550 for the one recipient given with --refuse.

Usage: smtp_server.py FOLDER [--refuse ADDRESS]
Prints "PORT CERTIFICATE" once it listens, appends the recipient of each message it takes to
FOLDER/delivered (a line each), and ends when its standard input closes.
"""

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
        return "250 OK"


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
