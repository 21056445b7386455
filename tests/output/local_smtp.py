"""What the mail tests' SMTP servers on 127.0.0.1 share: a self-signed certificate for that
address, a free port, and an aiosmtpd server that wants STARTTLS before any login. Each test keeps
its own handler (what the server takes, refuses and records)."""

import os
import socket
import ssl
import subprocess

from aiosmtpd.controller import Controller


def self_signed(folder):
    """Writes cert.pem and key.pem for 127.0.0.1 into folder; returns the server's TLS context and
    the certificate's path (for the client's SSL_CERT_FILE)."""
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"],
                   check=True, capture_output=True)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    return context, cert


def take_recipient(envelope, address, refused):
    """The answer to RCPT: 550 for the one refused address, else the address joins the envelope."""
    if address == refused:
        return "550 5.1.1 Mailbox unavailable"
    envelope.rcpt_tos.append(address)
    return "250 OK"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def started_on_free_port(make, tries=5):
    """Starts the server make(port) builds on a free port; returns it and its port. Tests running
    beside this one may take the probed port before the server binds it: then another is tried."""
    for attempt in range(tries):
        port = free_port()
        server = make(port)
        try:
            server.start()
            return server, port
        except Exception:
            if attempt == tries - 1:
                raise


def starttls_server(handler, context, authenticator):
    """A started server on a free port that takes a login only once STARTTLS has secured the
    connection; returns it and its port."""
    return started_on_free_port(lambda port: Controller(
        handler, hostname="127.0.0.1", port=port, tls_context=context, require_starttls=True,
        authenticator=authenticator, auth_require_tls=True))
