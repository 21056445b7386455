#!/usr/bin/python3
"""Writes the shipped greeting texts and the help document.

Run with Debian's /usr/bin/python3 (standard library only):
    /usr/bin/python3 resources/tools/make_texts.py
Writes into resources/shipped: Title.txt and Message.txt (one greeting a line, UTF-8; titles stay
within 100 characters and messages within 250, the start wizard's limits) and Help.pdf, a short
user's guide laid out here as a plain PDF with the standard Helvetica fonts. The output is the same
on every run.
"""
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "shipped")

TITLES = [
    "Happy Birthday!",
    "You're Invited!",
    "Let's Celebrate!",
    "Join Us for a Party",
    "Save the Date",
    "Congratulations!",
    "With Love on Your Special Day",
    "Season's Greetings",
    "Happy Anniversary",
    "Welcome, Little One!",
    "Thank You!",
    "Happy Graduation!",
    "A Toast to Friendship",
]

MESSAGES = [
    "Come and celebrate with us! There will be cake, music and good friends. We would love to see you there.",
    "Please join us for an evening of food, laughter and dancing. Your company would make the day complete.",
    "We are turning the page on another wonderful year. Join us to share the joy and make new memories.",
    "You are warmly invited to our celebration. Bring your smile and your appetite; we will take care of the rest.",
    "Two hearts, one promise. We would be honoured to have you with us as we begin our life together.",
    "Wishing you a day filled with happiness and a year filled with joy. Happy birthday!",
    "May this season bring you peace, warmth and the company of the people you love most.",
    "Congratulations on all your hard work. Join us to celebrate this proud moment together.",
    "A little one has arrived! Come and meet the newest member of our family over tea and cake.",
    "Thank you for your kindness and support. It meant more to us than words can say.",
    "Here's to many more years of laughter, love and adventure together. Happy anniversary!",
    "Good friends are the family we choose. Let's raise a glass to all the years behind and ahead.",
]

HELP_PAGES = [
    ("Tessaly Greeting Designer - User's Guide", [
        ("h", "Starting a card"),
        ("p", "When the program starts it offers two ways in: the wizard, or a design file you kept. Once the"),
        ("p", "main window is open, File > New from Template starts a card from a template as well."),
        ("p", "The wizard takes four steps: the card size, a background picture, a title and a message (pick"),
        ("p", "one of the shipped greetings or type your own), and From and To, the names of the sender and"),
        ("p", "the addressee. Finish lays them out on the front of the card."),
        ("h", "Designing"),
        ("p", "Pick a tool from the tool column or the Tools menu: each tool places its object on the card at"),
        ("p", "once. Drag objects to move them, drag their handles to resize them, and use the inspector on"),
        ("p", "the right to change fonts, colours, fills and borders. Switch between the front and the back"),
        ("p", "with the side buttons; Preview shows the card as it will print."),
        ("h", "Templates"),
        ("p", "File > Export As Template keeps the current design as one of your own templates, with a"),
        ("p", "picture of both sides. File > New from Template starts a new card from a built-in template or"),
        ("p", "from one of yours; in the template browser you can copy, rename and delete your own."),
    ]),
    ("Producing cards", [
        ("h", "Data series"),
        ("p", "Texts, pictures and barcodes can take their value from a series or from a column of an Excel"),
        ("p", "workbook. Make series in Data > Series Manager, generate numbered series, or import them from"),
        ("p", "text, CSV and RTF files."),
        ("h", "Export, print and mail"),
        ("p", "File > Export writes the card as PNG, JPEG, TIFF or BMP pictures, one card per data row when"),
        ("p", "the design uses a data source. File > Print lays the cards out in rows and columns on sheets."),
        ("p", "File > Mail sends the cards as attachments through your SMTP server."),
        ("h", "Getting help"),
        ("p", "Help > Help and Support lists the support and reseller addresses: support@example.com and"),
        ("p", "partners@example.com. Our website is https://www.example.com/."),
    ]),
]


def pdf_text(s):
    return s.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def page_stream(title, lines):
    ops = ["BT", "/F2 20 Tf", "72 770 Td", "(%s) Tj" % pdf_text(title), "ET"]
    y = 730
    for kind, text in lines:
        if kind == "h":
            y -= 10
            ops += ["BT", "/F2 13 Tf", "72 %d Td" % y, "(%s) Tj" % pdf_text(text), "ET"]
            y -= 20
        else:
            ops += ["BT", "/F1 11 Tf", "72 %d Td" % y, "(%s) Tj" % pdf_text(text), "ET"]
            y -= 16
    return "\n".join(ops).encode("latin-1")


def write_pdf(path):
    objects = []  # bodies, numbered from 1

    def add(body):
        objects.append(body)
        return len(objects)

    catalog = add(None)
    pages = add(None)
    font1 = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    font2 = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>")
    kids = []
    for title, lines in HELP_PAGES:
        data = page_stream(title, lines)
        content = add(b"<< /Length %d >>\nstream\n" % len(data) + data + b"\nendstream")
        kids.append(add(("<< /Type /Page /Parent %d 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
                         "/Resources << /Font << /F1 %d 0 R /F2 %d 0 R >> >> >>"
                         % (pages, content, font1, font2)).encode()))
    objects[catalog - 1] = b"<< /Type /Catalog /Pages %d 0 R >>" % pages
    objects[pages - 1] = ("<< /Type /Pages /Kids [%s] /Count %d >>"
                          % (" ".join("%d 0 R" % k for k in kids), len(kids))).encode()
    info = add(b"<< /Title (Tessaly Greeting Designer - User's Guide) /Producer (make_texts.py) >>")

    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for off in offsets:
        out += b"%010d 00000 n \n" % off
    out += b"trailer\n<< /Size %d /Root %d 0 R /Info %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, catalog, info, xref)
    with open(path, "wb") as f:
        f.write(out)


def main():
    assert all(len(t) <= 100 for t in TITLES) and all(len(m) <= 250 for m in MESSAGES)
    with open(os.path.join(ROOT, "Title.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(TITLES) + "\n")
    with open(os.path.join(ROOT, "Message.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(MESSAGES) + "\n")
    write_pdf(os.path.join(ROOT, "Help.pdf"))


if __name__ == "__main__":
    main()
