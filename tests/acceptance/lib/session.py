"""One run of the program under its own Xvfb, in a temporary home.

Every acceptance script starts a Session, drives the program through it and ends it with quit().
The start and the end go through the windows the program may show there (the start window, the
save question when there are unsaved changes, the rate-us window), so scripts keep working as
those windows arrive."""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

MAIN_TITLE = "Tessaly Greeting Designer"
START_TITLE = "Start Wizard"
RATE_US_TITLE = "Rate Us"


class AcceptanceError(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise AcceptanceError(message)


def write_png(path, width, height, rgb):
    """A one-colour RGB PNG, written without any imaging library."""
    import struct
    import zlib

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    row = b"\x00" + bytes(rgb) * width
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(row * height))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def wait_until(condition, what, timeout=20, app=None):
    """Asks condition() again and again until it gives something true, and returns that; fails once
    the deadline has passed (or, given the program's process, as soon as the program has ended).
    The short pause between two asks only spares the processor: no verdict depends on it."""
    deadline = time.time() + timeout
    while True:
        got = condition()
        if got:
            return got
        if app is not None and app.poll() is not None:
            raise AcceptanceError("the program ended with %s while waiting for %s" % (app.returncode, what))
        if time.time() >= deadline:
            raise AcceptanceError("timed out waiting for " + what)
        time.sleep(0.05)


def build_dir():
    return os.environ.get("TESSALY_BUILD", os.path.join(os.path.dirname(__file__), "../../../build/test"))


def program_path():
    return os.path.join(build_dir(), "src/app/tessaly-designer")


def cardtool_path():
    return os.path.join(build_dir(), "tests/tools/cardtool/cardtool")


def new_design(path, *options):
    """A design file made by cardtool design-new (options such as --qr-series NAME)."""
    r = subprocess.run([cardtool_path(), "design-new", path, *options], capture_output=True, text=True, timeout=60)
    check(r.returncode == 0, "cardtool design-new failed: %s" % r.stderr)


def hand_design(path, *options, timeout=60):
    """A design file made by cardtool design-hand (options such as --text X,Y,W,H=TEXT)."""
    r = subprocess.run([cardtool_path(), "design-hand", path, *options], capture_output=True, text=True,
                       timeout=timeout)
    check(r.returncode == 0, "cardtool design-hand failed: %s" % r.stderr)


def program_log(s):
    """The program's log in the session's home, or "" before it is written."""
    path = os.path.join(s.home, "state", "tessaly-designer", "tessaly-designer.log")
    if not os.path.exists(path):
        return ""
    with open(path, encoding="utf-8") as f:
        return f.read()


def dump_design(path):
    """A saved design as cardtool design-dump reads it: its pages and objects."""
    r = subprocess.run([cardtool_path(), "design-dump", path], capture_output=True, text=True, timeout=60)
    check(r.returncode == 0, "cardtool design-dump failed: %s" % r.stderr)
    return json.loads(r.stdout)


def screenshot_dir():
    """The running script's own folder under <build>/acceptance: scripts run side by side, and
    screenshots of the same label must not overwrite one another."""
    script = os.path.splitext(os.path.basename(sys.argv[0]))[0] or "interactive"
    path = os.path.join(build_dir(), "acceptance", script)
    os.makedirs(path, exist_ok=True)
    return path


class Session:
    def __init__(self, name, args=(), env=None, expect_main_window=True, through_start=True, backgrounds=None):
        self.name = name
        self.home = tempfile.mkdtemp(prefix="tessaly-acceptance-")
        self.shots = 0
        self.xvfb = None
        self.app = None
        self._start_xvfb()
        self.env = dict(os.environ)
        self.env.update({
            "DISPLAY": self.display,
            "QT_QPA_PLATFORM": "xcb",
            "HOME": self.home,
            "XDG_DATA_HOME": os.path.join(self.home, "data"),
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_STATE_HOME": os.path.join(self.home, "state"),
            "XDG_RUNTIME_DIR": self.home,
            "QT_LOGGING_RULES": "qt.qpa.*=false",
        })
        self.env.update(env or {})
        self.log = open(os.path.join(self.home, "program.log"), "w")
        if "XDG_DATA_HOME" not in (env or {}):
            for picture in backgrounds or [("plain.png", (255, 255, 255), (60, 40))]:
                self.seed_background(*picture)
        self.window = None
        self.app = subprocess.Popen([program_path(), *args], env=self.env, stdout=self.log, stderr=subprocess.STDOUT)
        if not expect_main_window:
            return
        try:
            self._wait_for_start(args)
            if through_start:
                # A design named on the command line opens without the start window.
                self.get_past_start_window(required=not args)
                self.focus(self.window)
        except BaseException:
            # No with-block holds the session yet: report and end it here.
            self.__exit__(*sys.exc_info())
            raise

    def _wait_for_start(self, args):
        """The main window once it shows. Should the program still be refused the display (the
        server is started so that it does not reset, which was the cause seen), that is the X
        server's doing, not the program's, so it starts again on a fresh server (twice at most)."""
        for attempt in range(3):
            try:
                self.wait_for_window(MAIN_TITLE)
                self.wait_for_main_window()
                return
            except AcceptanceError:
                if attempt == 2 or self.app.poll() is None or not self._display_refused():
                    raise
            print("%s: the program could not open the display %s; again on a new X server"
                  % (self.name, self.display))
            self.xvfb.terminate()
            self.xvfb.wait(timeout=10)
            self._start_xvfb()
            self.env["DISPLAY"] = self.display
            self.log.seek(0)
            self.log.truncate()
            self.app = subprocess.Popen([program_path(), *args], env=self.env, stdout=self.log,
                                        stderr=subprocess.STDOUT)

    def _display_refused(self):
        with open(os.path.join(self.home, "program.log")) as f:
            return "no Qt platform plugin could be initialized" in f.read()

    # --- the X server ---
    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            # -noreset: by default the server resets itself each time its last client leaves, and
            # a client that connects during that reset is refused. The check below that the server
            # answers is such a last client, so the program started right after it could find the
            # display refused and abort (seen about once in three hundred starts with six servers
            # at once); a server that never resets takes every client.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise AcceptanceError("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        # The number can come before the server takes connections (seen with several servers
        # starting at once): a program started then cannot open the display and aborts.
        env = dict(os.environ, DISPLAY=self.display)

        def answers():
            check(self.xvfb.poll() is None, "Xvfb on %s ended" % self.display)
            return subprocess.run(["xdotool", "getdisplaygeometry"], env=env, capture_output=True,
                                  timeout=30).returncode == 0
        try:
            wait_until(answers, "Xvfb on %s to take connections" % self.display)
        except AcceptanceError:
            self.xvfb.kill()
            raise

    # --- windows, keys, mouse ---
    def xdotool(self, *args, check=True):
        r = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=30)
        if check and r.returncode != 0:
            raise AcceptanceError("xdotool %s failed: %s" % (" ".join(args), r.stderr))
        return r.stdout.strip()

    def find_window(self, title):
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], env=self.env,
                           capture_output=True, text=True, timeout=30)
        ids = r.stdout.split()
        return ids[-1] if ids else None

    def wait_until(self, condition, what, timeout=20):
        """wait_until() that also fails as soon as the program has ended."""
        return wait_until(condition, what, timeout, app=self.app)

    def windows(self, title):
        """The shown windows whose name matches title, oldest first."""
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], env=self.env,
                           capture_output=True, text=True, timeout=30)
        return r.stdout.split()

    def wait_for_window(self, title, timeout=20, other_than=()):
        """The newest shown window whose name matches title, once it is there and has its size; a
        window in other_than (one that was showing before) does not count."""
        def ready():
            for w in reversed(self.windows(title)):
                if w not in other_than and self.width_of(w) > 0:
                    return w
            return None
        return self.wait_until(ready, "a window titled %r" % title, timeout)

    def width_of(self, window):
        out = self.xdotool("getwindowgeometry", window, check=False)
        for line in out.splitlines():
            if "Geometry:" in line:
                return int(line.split(":")[1].strip().split("x")[0])
        return 0

    def wait_for_main_window(self, timeout=20):
        """The main window, told from message boxes of the same title by its width."""
        def main_window():
            for w in self.windows(MAIN_TITLE):
                if self.width_of(w) >= 900:
                    return w
            return None
        self.window = self.wait_until(main_window, "the main window", timeout)
        return self.window

    def wait_for_window_gone(self, title, timeout=10, window=None):
        """True once no window matching title (or the given window) shows any more; False if one
        still shows at the deadline."""
        def gone():
            shown = self.windows(title)
            return (window not in shown) if window else not shown
        try:
            wait_until(gone, "%r to close" % title, timeout)
            return True
        except AcceptanceError:
            return False

    def wait_for_exit(self, timeout=20):
        """The program's exit status once it has ended."""
        wait_until(lambda: self.app.poll() is not None, "the program to end", timeout)
        return self.app.returncode

    def double_click(self, x, y, title):
        """Double-clicks the point (x, y) of the screen and returns the window titled title that it
        opens, once that shows."""
        self.xdotool("mousemove", "--sync", str(x), str(y))
        self.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        return self.wait_for_window(title)

    def focus(self, window=None):
        self.xdotool("windowfocus", "--sync", window or self.window)

    # Keys and text go at a person's pace. Windows, files and what the screen shows are waited
    # for (never slept for); the pace only lets a window move its focus (a wizard's next page
    # puts it into its first field on a later turn) before the next key comes.
    KEY_PACE = 0.3

    def key(self, *keys, delay=KEY_PACE):
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)
            time.sleep(delay)

    def type_text(self, text):
        self._map_characters(text)
        self.xdotool("type", "--delay", "20", text)
        time.sleep(self.KEY_PACE)

    def _map_characters(self, text):
        """Gives each character the keyboard lacks (a password's "ä") a key of its own for the
        session. Left to itself xdotool maps a key for it, presses it and takes the mapping back
        at once, and under load the program reads the press after the mapping is gone: a wrong
        character typed into a field that cannot be read back."""
        mapped = getattr(self, "_mapped", set())
        wanted = sorted({c for c in text if ord(c) > 0x7e} - mapped)
        if not wanted:
            return
        table = subprocess.run(["xmodmap", "-pke"], env=self.env, capture_output=True, text=True,
                               timeout=30, check=True).stdout
        free = [int(line.split()[1]) for line in table.splitlines()
                if line.startswith("keycode") and not line.split("=", 1)[1].strip()]
        if len(free) < len(wanted):
            raise AcceptanceError("no free keys to map %r" % "".join(wanted))
        for code, c in zip(free, wanted):
            # Latin-1 keysyms are the code point; the others sit above 0x1000000.
            keysym = ord(c) if ord(c) <= 0xff else 0x1000000 + ord(c)
            subprocess.run(["xmodmap", "-e", "keycode %d = 0x%x" % (code, keysym)], env=self.env,
                           timeout=30, check=True)
        self._mapped = mapped | set(wanted)

    def is_please_wait(self, window):
        """Whether the window is the please-wait sheet: it carries the program's name as message
        boxes do, and takes no answer; its window role tells it apart."""
        r = subprocess.run(["xprop", "-id", window, "WM_WINDOW_ROLE"], env=self.env, capture_output=True,
                           text=True, timeout=30)
        return '"please-wait"' in r.stdout

    def modal_window(self, timeout=10, other_than=()):
        """The newest window that is not the main one (a dialog or a message box), nor one of
        other_than, nor the please-wait sheet."""
        def newest():
            # Message boxes carry the program's name too: anything but the main window counts.
            ids = [w for w in self.windows(".") if w != self.window and w not in other_than]
            for w in reversed(ids):
                if (self.xdotool("getwindowname", w, check=False) and self.width_of(w) > 0
                        and not self.is_please_wait(w)):
                    return w
            return None
        try:
            return self.wait_until(newest, "a dialog", timeout)
        except AcceptanceError as e:
            raise AcceptanceError("no dialog appeared (%s)" % e)

    def answer_question(self, yes):
        """Answers the Yes/No box that is showing: Return for Yes, Escape for No."""
        box = self.modal_window()
        self.focus(box)
        self.key("Return" if yes else "Escape")

    # --- screenshots and clipboard ---
    def screenshot(self, label):
        self.shots += 1
        path = os.path.join(screenshot_dir(), "%02d-%s.png" % (self.shots, label))
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True, timeout=30)
        return path

    def screenshot_when(self, label, condition, what, timeout=20):
        """Takes screenshots until condition(path) holds for one, and keeps that one as the
        numbered screenshot `label` (the last one taken when the deadline passes)."""
        probe = os.path.join(self.home, "probe.png")

        def shown():
            subprocess.run(["import", "-window", "root", probe], env=self.env, check=True, timeout=30)
            return condition(probe)
        try:
            self.wait_until(shown, what, timeout)
        finally:
            self.shots += 1
            path = os.path.join(screenshot_dir(), "%02d-%s.png" % (self.shots, label))
            if os.path.exists(probe):
                shutil.move(probe, path)
        return path

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value) if value.isdigit() else value
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def screenshot_painted(self, label, window, timeout=20):
        """A screenshot taken once the window has painted itself (its face is more than the one
        colour a window has before its first paint)."""
        from PIL import Image
        x, y, w, h = self.geometry(window)

        def painted(path):
            with Image.open(path) as shot:
                face = shot.convert("RGB").crop((x, y, x + w, y + h))
                return face.getcolors(maxcolors=8) is None or len(face.getcolors(maxcolors=8)) > 2
        return self.screenshot_when(label, painted, "the window %s to paint" % window, timeout)

    def clipboard(self, target):
        r = subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"], env=self.env,
                           capture_output=True, timeout=30)
        return r.stdout

    # --- the program's own windows on the way in and out ---
    def get_past_start_window(self, required=True, size_mm=None):
        """The start wizard by keyboard with the choices it offers, then the invitation texts it
        laid out removed: a plain card (120 x 120 mm unless size_mm gives the width and height,
        the first background) to work on."""
        if not required:
            # A design named on the command line opens without the start window.
            check(not self.find_window(START_TITLE), "the start wizard showed over a design")
            return
        try:
            start = self.wait_for_window(START_TITLE, timeout=10)
        except AcceptanceError:
            raise AcceptanceError("the start wizard did not show")
        self.focus(start)
        self.key("Return")  # the wizard option
        if size_mm:  # step 1: the width field has the keyboard
            self.key("ctrl+a")
            self.type_text("%.2f" % size_mm[0])
            self.key("Tab", "ctrl+a")
            self.type_text("%.2f" % size_mm[1])
        self.key("Return")  # step 1: the size offered or typed
        self.key("Return")  # step 2: the first background, chosen on entry
        self.key("ctrl+a")  # step 3: a title and a message of our own
        self.type_text("Card")
        self.key("Tab", "ctrl+a")
        self.type_text("Hello")
        self.key("alt+n")
        self.key("Return")  # step 4: Finish
        check(self.wait_for_window_gone(START_TITLE, window=start), "the start wizard did not finish")
        self.focus(self.window)
        self.key("ctrl+a", "Delete")

    def save_design(self, path):
        """Ctrl+S into the save dialog, the saved message answered; True once the file is there."""
        self.focus()
        self.key("ctrl+s")
        dialog = self.wait_for_window("Save Design")
        self.focus(dialog)
        self.key("ctrl+a")
        self.type_text(path)
        self.key("Return")
        self.wait_for_window_gone("Save Design", window=dialog)
        box = self.modal_window(other_than=(dialog,))  # "... has been saved successfully."
        self.focus(box)
        self.key("Return")
        self.wait_for_window_gone(".", window=box)
        try:
            return wait_until(lambda: os.path.exists(path), "the saved file", 10)
        except AcceptanceError:
            return False

    def save_again(self):
        """Ctrl+S over a design that has its file: the saved message answered once it shows (after
        the please-wait sheet, should the writing take a while)."""
        self.focus()
        self.key("ctrl+s")
        box = self.modal_window(timeout=60)  # "... has been saved successfully."
        self.focus(box)
        self.key("Return")
        self.wait_for_window_gone(".", window=box)

    def open_design(self, path):
        """Ctrl+O with nothing unsaved: the panel comes without a question and opens the file typed."""
        self.focus()
        self.key("ctrl+o")
        dialog = self.wait_for_window("Open Design")
        check(not self.question_box(), "Open asked a question with nothing unsaved")
        self.focus(dialog)
        self.key("ctrl+a")
        self.type_text(path)
        self.key("Return")
        self.wait_for_window_gone("Open Design", window=dialog)

    def export_until_asked(self, screenshot):
        """File > Export, OK on the sheet: the check's question, shown and screenshot."""
        self.focus()
        self.key("alt+f", "e")
        sheet = self.wait_for_window("^Export$")
        self.focus(sheet)
        self.key("Return")
        check(self.wait_for_window_gone("^Export$", window=sheet), "the export sheet stayed open")
        question = self.modal_window()
        self.screenshot_painted(screenshot, question)
        return question

    def export_cards(self, folder, before_sheet=None):
        """File > Export, OK with the sheet as it comes, then the folder typed into the folder panel.
        before_sheet(session) answers what the program asks before the sheet opens."""
        self.focus()
        self.key("alt+f", "e")
        if before_sheet:
            before_sheet(self)
        sheet = self.wait_for_window("^Export$")
        self.screenshot("export-sheet")
        self.focus(sheet)
        self.key("Return")
        self.choose_export_folder(folder, other_than=(sheet,))

    def export_card(self, path):
        """File > Export of a card without data, which is one picture: OK with the sheet as it
        comes (PNG at 300 dpi), then the path typed into the file panel. Waits for the file and
        gives the box that says it was written."""
        self.focus()
        self.key("alt+f", "e")
        sheet = self.wait_for_window("^Export$")
        self.focus(sheet)
        self.key("Return")
        panel = self.wait_for_window("^Export$", other_than=(sheet,))
        self.focus(panel)
        self.key("ctrl+a")
        self.type_text(path)
        self.key("Return")
        self.wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 0, "the exported card", 60)
        return self.modal_window()

    def choose_export_folder(self, folder, other_than=()):
        """The folder typed into the folder panel of an export once it shows (other_than: the sheet,
        whose title it has, while that may still show)."""
        panel = self.wait_for_window("^Export$", other_than=other_than)
        self.focus(panel)
        self.key("ctrl+a")
        self.type_text(folder)
        self.key("Return")
        # Return chooses the folder typed; should the panel only have opened it, a second one does.
        if not self.wait_for_window_gone("^Export$", timeout=5, window=panel):
            self.focus(panel)
            self.key("Return")
        check(self.wait_for_window_gone("^Export$", window=panel), "the folder panel stayed open")

    def close_exported_files(self):
        """The box that ends an export, closed with Escape: Cancel, the folder is not opened."""
        box = self.wait_for_window("Exported Files")
        self.focus(box)
        self.key("Escape")
        self.wait_for_window_gone("Exported Files", window=box)

    def data_folder(self):
        return os.path.join(self.home, "data", "tessaly-designer")

    def seed_background(self, name, rgb, size):
        """Puts a one-colour picture into the user's Background folder before the program starts,
        so the wizard always has one to offer."""
        folder = os.path.join(self.data_folder(), "Background")
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, name), size[0], size[1], rgb)

    def acknowledge_box(self, screenshot):
        """The message box the program shows now: screenshot, then Return, and it has closed."""
        box = self.modal_window()
        self.screenshot_painted(screenshot, box)
        self.focus(box)
        self.key("Return")
        self.wait_until(lambda: not self.question_box(), "the box to close")

    def question_box(self):
        """A message box of the program that is showing (it carries the program's name), or None."""
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", MAIN_TITLE], env=self.env,
                           capture_output=True, text=True, timeout=30)
        for w in r.stdout.split():
            if w != self.window and not self.is_please_wait(w):
                return w
        return None

    def answer_save_question(self, save):
        """The save question (Save, Don't Save, Cancel): Return saves, Alt+N does not save."""
        box = self.modal_window()
        self.focus(box)
        self.key("Return" if save else "alt+n")

    def quit(self, save=False, timeout=20, unasked=None):
        """Ctrl+Q; the save question when the design has unsaved changes, then the rate-us window if
        it shows; returns the exit status. unasked: the failure to report when any question shows,
        for a design with nothing to save."""
        self.focus()
        self.key("ctrl+q")
        answered = []

        def ended():
            # Answers what shows on the way out until the program has ended.
            if self.app.poll() is not None:
                return True
            check(not (unasked and self.question_box()), unasked)
            rate = self.find_window(RATE_US_TITLE)
            if rate:
                self.focus(rate)
                self.key("Escape")
            elif not answered:
                box = self.question_box()
                if box:
                    self.focus(box)
                    self.key("Return" if save else "alt+n")
                    answered.append(box)
            return False
        try:
            wait_until(ended, "the program to end", timeout)
        except AcceptanceError:
            raise AcceptanceError("the program did not end")
        return self.app.returncode

    def close(self):
        if self.app and self.app.poll() is None:
            self.app.kill()
            self.app.wait()
        if self.xvfb:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
        self.log.close()
        shutil.rmtree(self.home, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if exc[0] is not None:
            try:
                self.screenshot("failure")
                with open(os.path.join(self.home, "program.log")) as f:
                    print(f.read())
            except Exception:
                pass
        self.close()
        return False
