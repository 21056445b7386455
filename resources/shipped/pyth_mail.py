"""Sends one e-mail message for Tessaly Greeting Designer.

Arguments: sender, SMTP server, port, sender (again, the login name), recipient, subject, body,
SSL flag ("Y": TLS from the first byte; anything else: STARTTLS is required), then the paths of
the files to attach. Standard input: the password (UTF-8), a line break, then a description line.
Exits 0 only when the server accepted the message; otherwise prints why on standard error, in
words, and exits 4 when the server refused this message only (its recipient or its content), so
that the next message may still go, or 1 for a failure every message would meet (no connection,
login or certificate refused, a silent server).
"""

import base64
import email.message
import email.utils
import mimetypes
import os
import smtplib
import ssl
import sys
import threading
import time

TIMEOUT = 60  # seconds for every network step
REFUSED_EXIT = 4  # the server refused this message only

# The first bytes of the picture and document formats the program writes.
SIGNATURES = [
    (b"\x89PNG\r\n\x1a\n", "image/png"),
    (b"\xff\xd8\xff", "image/jpeg"),
    (b"II*\x00", "image/tiff"),
    (b"MM\x00*", "image/tiff"),
    (b"BM", "image/bmp"),
    (b"%PDF-", "application/pdf"),
]


class Refused(Exception):
    """A failure every message would meet: the settings, the connection, the login."""


class MessageRefused(Exception):
    """The server refused this message only; the next one may still go."""


def reply_text(code, reply):
    """A server's reply in words: "550 5.1.1 Mailbox unavailable", never Python's own notation."""
    if isinstance(reply, bytes):
        reply = reply.decode("utf-8", "replace")
    return ("%d %s" % (code, " ".join(str(reply).split()))).strip()


def refusal(what, code, reply):
    # 421: the server is closing the connection; no further message would fare better.
    kind = Refused if code == 421 else MessageRefused
    return kind("the server refused %s: %s" % (what, reply_text(code, reply)))


def mime_type(path, data):
    for magic, kind in SIGNATURES:
        if data.startswith(magic):
            return kind
    guessed, _ = mimetypes.guess_type(path)
    return guessed or "application/octet-stream"


def header_safe(name, value):
    # Any line boundary Python knows (\v, \f, \x1c-\x1e, \x85, \u2028, \u2029 as well as CR
    # and LF) would split the header; other control characters have no place in one either.
    if "\r" in value or "\n" in value or len(value.splitlines()) > 1:
        raise Refused("line break in the %s" % name)
    if any(ord(c) < 32 or 127 <= ord(c) < 160 for c in value):
        raise Refused("control character in the %s" % name)
    return value


def login(server, user, password):
    """AUTH with the password as UTF-8 (smtplib's own helper only encodes ASCII)."""
    methods = server.esmtp_features.get("auth", "").upper().split()
    secret = password.encode("utf-8")
    if "PLAIN" in methods:
        token = base64.b64encode(b"\0" + user.encode("utf-8") + b"\0" + secret).decode("ascii")
        code, reply = server.docmd("AUTH", "PLAIN " + token)
    elif "LOGIN" in methods:
        code, reply = server.docmd("AUTH", "LOGIN")
        if code == 334:
            code, reply = server.docmd(base64.b64encode(user.encode("utf-8")).decode("ascii"))
        if code == 334:
            code, reply = server.docmd(base64.b64encode(secret).decode("ascii"))
    else:
        raise Refused("the server offers no login method this script can use")
    if code != 235:
        raise Refused("login refused: %d %s" % (code, reply.decode("utf-8", "replace")))


def build(sender, recipient, subject, body, paths):
    message = email.message.EmailMessage()
    message["From"] = header_safe("sender", sender)
    message["To"] = header_safe("recipient", recipient)
    message["Subject"] = header_safe("subject", subject)
    message["Date"] = email.utils.formatdate(localtime=True)
    message["Message-ID"] = email.utils.make_msgid()
    message.set_content(body)
    for path in paths:
        try:
            with open(path, "rb") as handle:
                data = handle.read()
        except OSError as problem:
            raise Refused("the attachment %s cannot be read: %s" % (path, problem.strerror or problem))
        maintype, subtype = mime_type(path, data).split("/", 1)
        name = header_safe("attachment name", os.path.basename(path))
        message.add_attachment(data, maintype=maintype, subtype=subtype, filename=name)
    return message


def send(argv, password):
    if len(argv) < 9:
        raise Refused("expected sender, server, port, login, recipient, subject, body and SSL flag")
    sender, host, port_text, user, recipient, subject, body, flag = argv[1:9]
    paths = argv[9:]
    try:
        port = int(port_text)
    except ValueError:
        raise Refused("the port %r is not a number" % port_text)
    if not 1 <= port <= 65535:
        raise Refused("the port %d is outside 1-65535" % port)
    header_safe("server", host)
    message = build(sender, recipient, subject, body, paths)
    context = ssl.create_default_context()
    if flag == "Y":
        server = smtplib.SMTP_SSL(host, port, timeout=TIMEOUT, context=context)
    else:
        server = smtplib.SMTP(host, port, timeout=TIMEOUT)
    with server:
        server.ehlo()
        if flag != "Y":
            if not server.has_extn("starttls"):
                raise Refused("the server does not offer STARTTLS; the password is never sent in clear")
            server.starttls(context=context)
            server.ehlo()
        if password:
            login(server, user, password)
        try:
            refused = server.send_message(message, from_addr=sender, to_addrs=[recipient])
        except smtplib.SMTPRecipientsRefused as problem:
            refused = problem.recipients
        except smtplib.SMTPSenderRefused as problem:
            raise Refused("the server refused the sender %s: %s"
                          % (sender, reply_text(problem.smtp_code, problem.smtp_error)))
        except smtplib.SMTPDataError as problem:
            raise refusal("the message", problem.smtp_code, problem.smtp_error)
        for code, reply in refused.values():
            raise refusal("the recipient", code, reply)


def watch_parent():
    """Ends the script as soon as the program that started it is gone (quit, killed or crashed):
    a message nobody waits for any more must not go out later."""
    parent = os.getppid()

    def watch():
        while True:
            time.sleep(0.5)
            if os.getppid() != parent:
                os._exit(3)

    threading.Thread(target=watch, daemon=True).start()


def main():
    watch_parent()
    lines = sys.stdin.buffer.read().decode("utf-8", "replace").split("\n")
    password = lines[0] if lines else ""
    try:
        send(sys.argv, password)
    except ssl.SSLCertVerificationError as problem:
        print("pyth_mail: certificate failure: the server's certificate could not be verified (%s). "
              "If the server uses its own certificate authority, start the program with SSL_CERT_FILE "
              "set to that authority's certificate file." % (problem.verify_message or problem),
              file=sys.stderr)
        return 1
    except MessageRefused as problem:
        print("pyth_mail: %s" % problem, file=sys.stderr)
        return REFUSED_EXIT
    except smtplib.SMTPResponseException as problem:
        print("pyth_mail: the server answered %s" % reply_text(problem.smtp_code, problem.smtp_error),
              file=sys.stderr)
        return 1
    # smtplib's own errors are OSErrors too: named here before the network's.
    except (Refused, smtplib.SMTPException, UnicodeError, ValueError) as problem:
        print("pyth_mail: %s" % problem, file=sys.stderr)
        return 1
    except TimeoutError:
        print("pyth_mail: the server did not answer within %d seconds" % TIMEOUT, file=sys.stderr)
        return 1
    except ssl.SSLError as problem:
        print("pyth_mail: the secure connection failed: %s" % (problem.reason or problem), file=sys.stderr)
        return 1
    except OSError as problem:
        print("pyth_mail: could not reach the server: %s" % (problem.strerror or problem), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
