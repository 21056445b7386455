#!/usr/bin/python3
"""An SMTP server on 127.0.0.1 for the mail window tests: STARTTLS with a certificate of its own,
any login taken once the connection is secure, and 550 for the one recipient given with --refuse.

Usage: smtp_server.py FOLDER [--refuse ADDRESS]
Prints "PORT CERTIFICATE" once it listens, appends the recipient of each message it takes to
FOLDER/delivered (a line each), and ends when its standard input closes.
"""

import os
import socket
import ssl
import subprocess
import sys
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult


class Handler:
    def __init__(self, folder, refuse):
        self.delivered = os.path.join(folder, "delivered")
        self.refuse = refuse

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address == self.refuse:
            return "550 5.1.1 Mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

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
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"],
                   check=True, capture_output=True)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    server = Controller(Handler(folder, refuse), hostname="127.0.0.1", port=port, tls_context=context,
                        require_starttls=True, auth_require_tls=True,
                        authenticator=lambda *args: AuthResult(success=True))
    server.start()
    print(port, cert, flush=True)
    try:
        sys.stdin.read()
    finally:
        server.stop()


if __name__ == "__main__":
    main()
