#!/usr/bin/python3
"""Sends cards through cardtool mail and the shipped mail script to SMTP servers on 127.0.0.1.

Usage: mail_smtp_test.py CARDTOOL DESIGN DATA_DIR EXPECT_JSON
EXPECT_JSON holds {"codes": [...], "qr": [...]}: the Code 128 and QR values of each data row.
Exits 0 when every check holds; prints each failed check otherwise.
"""

import email
import email.policy
import json
import os
import plistlib
import re
import socket
import subprocess
import sys
import tempfile
import threading
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult

from local_smtp import self_signed, started_on_free_port, starttls_server, take_recipient

PASSWORD = "pässwörd-Ω"  # not ASCII on purpose
SENDER = "cards@example.com"
RECIPIENTS = ["one@example.org", "two@example.org"]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, flush=True)


class Inbox:
    def __init__(self):
        self.messages = []  # (arrival time, recipients, parsed message)

    async def handle_DATA(self, server, session, envelope):
        parsed = email.message_from_bytes(envelope.content, policy=email.policy.default)
        self.messages.append((time.monotonic(), list(envelope.rcpt_tos), parsed))
        return "250 OK"


class RefusingInbox(Inbox):
    """Takes every recipient but one, which it refuses as an unknown mailbox."""

    def __init__(self, refused):
        super().__init__()
        self.refused = refused

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        return take_recipient(envelope, address, self.refused)


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = auth_data.login == SENDER.encode() and auth_data.password == PASSWORD.encode("utf-8")
    return AuthResult(success=ok, handled=False)  # handled=False: the server answers 535 itself


class PlainServer(threading.Thread):
    """Offers AUTH but no STARTTLS, and records every line a client sends."""

    def __init__(self):
        super().__init__(daemon=True)
        self.sock = socket.socket()
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(1)
        self.port = self.sock.getsockname()[1]
        self.lines = []

    def run(self):
        conn, _ = self.sock.accept()
        with conn, conn.makefile("rwb") as f:
            f.write(b"220 plain.example.org ESMTP\r\n")
            f.flush()
            for raw in f:
                line = raw.decode("utf-8", "replace").strip()
                self.lines.append(line)
                verb = line.split(" ")[0].upper()
                if verb == "EHLO":
                    f.write(b"250-plain.example.org\r\n250 AUTH PLAIN LOGIN\r\n")
                elif verb == "QUIT":
                    f.write(b"221 bye\r\n")
                    f.flush()
                    return
                else:
                    f.write(b"250 OK\r\n")
                f.flush()


def decode(path):
    out = subprocess.run(["ZXingReader", "-1", "-norotate", "-noscale", path],
                         capture_output=True, text=True).stdout
    # "PATH FORMAT "TEXT"" a line, read back as "FORMAT:TEXT"
    found = set()
    for line in out.splitlines():
        match = re.match(r'^\S+ (\S+) "(.*)"$', line.strip())
        if match:
            found.add(match.group(1) + ":" + match.group(2))
    return found


def decode_attachment(work, message):
    part = next(message.iter_attachments())
    path = os.path.join(work, "attachment-" + part.get_filename())
    with open(path, "wb") as f:
        f.write(part.get_payload(decode=True))
    return decode(path)


# Starts the mail script as the program would, prints its process id, then waits for it.
PARENT = """
import subprocess, sys
child = subprocess.Popen(["/usr/bin/python3", "-I", sys.argv[1], "a@example.com", "127.0.0.1", sys.argv[2],
                          "a@example.com", "b@example.org", "Subject", "Body", "N"],
                         stdin=subprocess.PIPE, env={"PATH": "/bin:/usr/bin", "PYTHONPATH": ""})
child.stdin.write(b"secret\\nDescription")
child.stdin.close()
print(child.pid, flush=True)
child.wait()
"""


def gone(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] in ("Z", "X")  # ended, not yet reaped
    except FileNotFoundError:
        return True


def check_script_ends_with_its_parent():
    """A program killed while its script waits for a silent server leaves no script behind."""
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../resources/shipped/pyth_mail.py")
    with socket.socket() as silent:
        silent.bind(("127.0.0.1", 0))
        silent.listen(1)
        silent.settimeout(20)
        parent = subprocess.Popen(["/usr/bin/python3", "-c", PARENT, script, str(silent.getsockname()[1])],
                                  stdout=subprocess.PIPE, text=True)
        pid = int(parent.stdout.readline())
        try:
            connection, _ = silent.accept()  # the script waits for a greeting that never comes
        except socket.timeout:
            check(False, "the mail script never connected")
            parent.kill()
            return
        with connection:
            parent.kill()
            parent.wait()
            deadline = time.monotonic() + 10
            while not gone(pid) and time.monotonic() < deadline:
                time.sleep(0.1)
            check(gone(pid), "the mail script outlived the program that started it")
            if not gone(pid):
                os.kill(pid, 9)


def main():
    cardtool, design, data_dir, expect_path = sys.argv[1:5]
    with open(expect_path) as f:
        expect = json.load(f)
    rows = len(expect["codes"])
    work = tempfile.mkdtemp(prefix="mail_smtp_")
    context, cert = self_signed(work)

    inbox_tls, inbox_starttls, inbox_refusing = Inbox(), Inbox(), RefusingInbox("two@example.org")
    tls, tls_port = started_on_free_port(lambda port: Controller(
        inbox_tls, hostname="127.0.0.1", port=port, ssl_context=context, authenticator=authenticator,
        auth_require_tls=False))
    starttls, starttls_port = starttls_server(inbox_starttls, context, authenticator)
    refusing, refusing_port = starttls_server(inbox_refusing, context, authenticator)
    servers = [tls, starttls, refusing]
    env = dict(os.environ, SSL_CERT_FILE=cert, QT_QPA_PLATFORM="offscreen")

    def settings(port, flag, password=PASSWORD):
        path = os.path.join(work, "settings-%d-%s.plist" % (port, flag))
        with open(path, "wb") as f:
            plistlib.dump({"SendEmailRecipient": "", "SendEmailSender": SENDER, "SendEmailPwd": password,
                           "SendEmailSMTP": "127.0.0.1", "SendEmailPORT": str(port),
                           "SendEnableSSL": flag}, f)
        return path

    def mail(settings_path, *extra, to=",".join(RECIPIENTS), environment=env):
        started = time.monotonic()
        run = subprocess.run([cardtool, "mail", design, "--settings", settings_path, "--to", to,
                              "--data", data_dir, "--subject", "Your card", "--body", "Hello"] + list(extra),
                             capture_output=True, text=True, env=environment, timeout=300)
        check(time.monotonic() - started < 60, "mail %s took %.0f s" % (" ".join(extra), time.monotonic() - started))
        return run

    try:
        for flag, port, inbox in (("Y", tls_port, inbox_tls), ("N", starttls_port, inbox_starttls)):
            for mode, count, ext in (("all", rows * len(RECIPIENTS), "jpeg"),
                                     ("one", min(rows, len(RECIPIENTS)), "png"),
                                     ("each", len(RECIPIENTS), "jpeg")):
                before = len(inbox.messages)
                run = mail(settings(port, flag), "--mode", mode, "--ext", ext)
                got = inbox.messages[before:]
                # One card each to fewer recipients than rows: the rows past them go to nobody, which
                # is no full success and is named.
                unsent = mode == "one" and rows > len(RECIPIENTS)
                check(run.returncode == (1 if unsent else 0),
                      "%s %s: exit %d: %s" % (flag, mode, run.returncode, run.stderr))
                check(("mail: No recipient for " in run.stderr) == unsent,
                      "%s %s: the rows without a recipient: %s" % (flag, mode, run.stderr))
                check(run.stdout.strip().endswith("%d sent, 0 failed" % count),
                      "%s %s: last line %r" % (flag, mode, run.stdout.strip()[-40:]))
                check(len(got) == count, "%s %s: %d messages, expected %d" % (flag, mode, len(got), count))
                pairs = set()
                for _, rcpt, message in got:
                    parts = list(message.iter_attachments())
                    check(len(parts) == 1, "%s %s: %d attachments" % (flag, mode, len(parts)))
                    for part in parts:
                        data = part.get_payload(decode=True)
                        magic = {"image/jpeg": b"\xff\xd8\xff", "image/png": b"\x89PNG"}.get(part.get_content_type())
                        check(magic is not None and data.startswith(magic),
                              "%s %s: %s does not match its bytes" % (flag, mode, part.get_content_type()))
                        check(part.get_filename().endswith("." + ext), "%s %s: name %s" % (flag, mode, part.get_filename()))
                        if mode == "each":
                            continue
                        path = os.path.join(work, "attachment." + ext)
                        with open(path, "wb") as f:
                            f.write(data)
                        symbols = decode(path)
                        row = next((i for i in range(rows) if "QRCode:" + expect["qr"][i] in symbols), None)
                        check(row is not None,
                              "%s %s: attachment decodes to %s" % (flag, mode, sorted(symbols)))
                        pairs.add((rcpt[0], row))
                if mode == "all":
                    check(pairs == {(r, i) for r in RECIPIENTS for i in range(rows)},
                          "%s all: every row to every recipient: %s" % (flag, sorted(pairs)))
                if mode == "one":
                    check(pairs == {(RECIPIENTS[i], i) for i in range(2)}, "%s one: %s" % (flag, sorted(pairs)))

            before = len(inbox.messages)
            run = mail(settings(port, flag, password="wrong"), "--mode", "each")
            check(run.returncode != 0, "%s: a wrong password still exits 0" % flag)
            check(len(inbox.messages) == before, "%s: a message arrived despite a wrong password" % flag)
            check("login refused: 535" in run.stderr, "%s: the server's reason is not given: %r" % (flag, run.stderr))

            # Without the server's own authority the certificate fails, and is named as such.
            before = len(inbox.messages)
            untrusted = {k: v for k, v in env.items() if k != "SSL_CERT_FILE"}
            run = mail(settings(port, flag), "--mode", "each", to=RECIPIENTS[0], environment=untrusted)
            check(run.returncode != 0 and len(inbox.messages) == before, "%s: sent to an untrusted server" % flag)
            check("certificate failure" in run.stderr and "SSL_CERT_FILE" in run.stderr,
                  "%s: a certificate failure is not named: %r" % (flag, run.stderr))

        # STARTTLS required: a server without it is refused and never sees AUTH.
        plain = PlainServer()
        plain.start()
        run = mail(settings(plain.port, "N"), "--mode", "each", to=RECIPIENTS[0])
        plain.join(30)
        check(run.returncode != 0, "no STARTTLS: exit 0")
        check(not any(line.upper().startswith("AUTH") for line in plain.lines),
              "no STARTTLS: the server saw %s" % plain.lines)

        # A recipient the server refuses: the others still get their own rows' cards, and the
        # refused one is named with its row and the server's words, not Python's notation.
        run = mail(settings(refusing_port, "N"), "--mode", "one",
                   to="one@example.org,two@example.org,three@example.org")
        got = {rcpt[0]: decode_attachment(work, message) for _, rcpt, message in inbox_refusing.messages}
        check(run.returncode != 0, "refused recipient: exit 0")
        check(sorted(got) == ["one@example.org", "three@example.org"], "refused recipient: sent to %s" % sorted(got))
        check("QRCode:" + expect["qr"][2] in got.get("three@example.org", set()),
              "refused recipient: three@example.org got %s" % sorted(got.get("three@example.org", [])))
        check("two@example.org (row 2): the server refused the recipient: 550 5.1.1 Mailbox unavailable"
              in run.stderr and "b'" not in run.stderr and "{" not in run.stderr,
              "refused recipient: %r" % run.stderr)

        # A pause of 3 seconds after every 2 messages waits at least 2.
        before = len(inbox_tls.messages)
        run = mail(settings(tls_port, "Y"), "--mode", "all", "--pause-every", "2", "--pause-seconds", "3",
                   to=RECIPIENTS[0])
        times = [t for t, _, _ in inbox_tls.messages[before:]]
        check(run.returncode == 0 and len(times) == 3, "pause run: %d messages, %s" % (len(times), run.stderr))
        if len(times) == 3:
            check(times[2] - times[1] >= 2.0, "pause: gap %.2f s" % (times[2] - times[1]))
            check(times[1] - times[0] < 2.0, "no pause between the first two: %.2f s" % (times[1] - times[0]))
        check("Pausing the process for 3 Seconds." in run.stdout, "pause line: %r" % run.stdout)
    finally:
        for s in servers:
            s.stop()
    check_script_ends_with_its_parent()
    print("%d checks failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
