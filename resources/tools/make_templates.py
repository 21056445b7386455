#!/usr/bin/python3
"""Makes the built-in design templates: a design file and a preview picture of both sides each.

Run with Debian's /usr/bin/python3 after building the tests (the designs are written by the
program's own code through cardtool):
    /usr/bin/python3 resources/tools/make_templates.py [path/to/cardtool]
The default cardtool is build/test/tests/tools/cardtool/cardtool. Writes
resources/shipped/Templates/<Name>.dcard and <Name>.png. The templates hold texts only: a
background picture would be kept as a path of this machine. The invitation layout adds
"Dear ", "Venue:" and "From:" itself.
"""
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
OUT = os.path.join(REPO, "resources", "shipped", "Templates")

# 120 x 120 mm, the wizard's card.
SIZE = "340.16,340.16"

TEMPLATES = [
    ("Birthday Party", {
        "--title": "You're Invited!", "--to": "Friends",
        "--message": "Come and celebrate Emma's 8th birthday with games, cake and lots of fun.",
        "--date": "Saturday, 14 June", "--time": "3:00 PM", "--venue": "12 Garden Lane, Springfield",
        "--from": "The Miller family"}),
    ("Wedding", {
        "--title": "Save the Date", "--to": "Guests",
        "--message": "Two hearts, one promise. We would be honoured to have you with us as we begin our life "
                     "together.",
        "--date": "Sunday, 21 September", "--time": "4:30 PM", "--venue": "The Old Mill, River Road",
        "--from": "Anna & James"}),
    ("Baby Shower", {
        "--title": "Welcome, Little One!", "--to": "Family",
        "--message": "Join us for tea, cake and gifts as we get ready to welcome our new baby.",
        "--date": "Saturday, 5 April", "--time": "11:00 AM", "--venue": "The Blue Room, 4 Park Street",
        "--from": "Sarah & Tom"}),
    ("Graduation", {
        "--title": "Happy Graduation!", "--to": "Friends and Family",
        "--message": "Four years of hard work are done. Come and celebrate this proud moment with us.",
        "--date": "Friday, 27 June", "--time": "6:00 PM", "--venue": "Hall 3, City College",
        "--from": "Daniel"}),
    ("Holiday Greetings", {
        "--title": "Season's Greetings", "--to": "Neighbours",
        "--message": "May this season bring you peace, warmth and the company of the people you love most.",
        "--from": "The Parker family"}),
]


def main():
    cardtool = sys.argv[1] if len(sys.argv) > 1 else os.path.join(REPO, "build", "test", "tests", "tools",
                                                                   "cardtool", "cardtool")
    if not os.access(cardtool, os.X_OK):
        sys.exit("cardtool not found at %s: build the tests first or give its path" % cardtool)
    os.makedirs(OUT, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.TemporaryDirectory() as tmp:
        for name, texts in TEMPLATES:
            design = os.path.join(tmp, "design.dcard")
            args = [cardtool, "invitation", "--size", SIZE, "--out", design]
            for option, value in texts.items():
                args += [option, value]
            subprocess.run(args, check=True, env=env, stdout=subprocess.DEVNULL)
            subprocess.run([cardtool, "template-export", design, "--name", name, "--root", tmp, "--replace"],
                           check=True, env=env, stdout=subprocess.DEVNULL)
            user = os.path.join(tmp, "Templates", "User")
            for ext in ("dcard", "png"):
                shutil.copyfile(os.path.join(user, name + "." + ext), os.path.join(OUT, name + "." + ext))


if __name__ == "__main__":
    main()
