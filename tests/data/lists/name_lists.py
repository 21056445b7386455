#!/usr/bin/python3
"""Writes lists of names into the folder given, each encoded by Python's codec of a character set
its writers use: short lists of two names, lists of a few, and long ones; then prints, as JSON,
each file's codec and its text. Lists that are UTF-8 with a slip carry "bad_line": the line of the first byte
that is no UTF-8. The names are drawn with a fixed seed, so every run writes the same files."""

import json
import os
import random
import sys
import unicodedata

WESTERN = ["René Lefèvre", "Zoë Martin", "Jürgen Müller", "Françoise Dubois", "Søren Ærø", "Ángel Muñoz",
           "Björn Åberg", "Noël Côté", "Inês Conceição", "Maël Bréhaut", "Íñigo Ibáñez", "Chloé Séguin"]
CENTRAL = ["Łukasz Wójcik", "Jiří Dvořák", "Žofie Šťastná", "Zoltán Kovács", "Anežka Řezníčková",
           "Paweł Wiśniewski", "Ödön Győri", "Ľubomír Ďurčo", "Małgorzata Żak", "Grzegorz Brzęczyszczykiewicz",
           "Ondřej Hůlka", "Ágnes Szűcs"]
BALTIC = ["Jānis Bērziņš", "Līga Kalniņa", "Rūta Žemaitė", "Vytautas Šimkus", "Kęstutis Čėsna", "Jüri Tamm",
          "Mari Õunapuu", "Ģirts Ķēniņš", "Dainius Kazlauskas", "Aušra Jankūnienė", "Ilze Ozoliņa",
          "Kārlis Šteins"]
MALTESE = ["Ġużeppi Borġ", "Ħenrik Aġius", "Ġorġ Żammit", "Ċikku Ħili", "Marija Ċaruana", "Pawlu Żahra"]
NORDIC = ["Þórður Guðmundsson", "Ásdís Jónsdóttir", "Hafþór Ævarsson", "Ólöf Þorsteinsdóttir",
          "Sigríður Pálsdóttir", "Guðrún Ósk"]
CELTIC = ["Siôn Rhŷs", "Gwenllïan Môn", "Ŵyn Prŷs", "Siân Ŵatcyn", "Dafydd Tŷ", "Llŷr Ŵynne"]
RUSSIAN = ["Иван Петров", "Мария Сидорова", "Алексей Смирнов", "Екатерина Кузнецова", "Юлия Морозова",
           "Дмитрий Волков", "Ольга Соколова", "Сергей Лебедев", "Наталья Козлова", "Фёдор Щукин"]
UKRAINIAN = ["Олексій Ґрищенко", "Іван Їжакевич", "Євгенія Шевченко", "Тарас Коваль", "Ярослава Бойко",
             "Ігор Ткачук"]
GREEK = ["Άννα Παπαδοπούλου", "Γιώργος Νικολάου", "Έλενα Γεωργίου", "Ήρα Δημητρίου", "Όλγα Ιωάννου",
         "Νίκος Αντωνίου", "Ύβωνη Κωνσταντίνου", "Ώρα Μαρκοπούλου", "Μαρία Οικονόμου"]
TURKISH = ["Ayşe Şahin", "Şükrü Öztürk", "Çağla Yılmaz", "İsmail Doğan", "Gülşen Ünal", "Mehmet Kılıç",
           "Zeynep Aydın", "Büşra Çelik", "Oğuz Güneş"]
HEBREW = ["דוד כהן", "שרה לוי", "יעקב מזרחי", "רחל פרץ", "משה ביטון", "מרים אברהם"]
ARABIC = ["محمد علي", "فاطمة حسن", "أحمد خالد", "عائشة محمود", "يوسف إبراهيم", "مريم سعيد"]
THAI = ["สมชาย ใจดี", "สมหญิง รักไทย", "วิไล ศรีสุข", "ประยุทธ์ มั่นคง", "อรุณี แสงทอง", "ธนากร บุญมา"]
VIETNAMESE = ["Nguyễn Văn An", "Trần Thị Hương", "Lê Đức Thọ", "Phạm Minh Tuấn", "Hoàng Thị Lan",
              "Đặng Quốc Bảo"]
JAPANESE = ["山田太郎", "佐藤花子", "鈴木一郎", "高橋美咲", "田中健太", "渡辺さくら", "伊藤翔", "中村あおい"]
KOREAN = ["김민수", "이서연", "박지훈", "최유진", "정하늘", "강동원", "윤서준", "임수빈"]
TRADITIONAL = ["陳美玲", "林志明", "黃淑芬", "張家豪", "李宗翰", "王怡君", "吳建宏", "劉雅婷"]
SIMPLIFIED = ["王芳", "李娜", "张伟", "刘洋", "陈静", "杨秀英", "赵磊", "黄丽", "周杰", "吴敏"]

MULTIBYTE = ["shift_jis", "euc_jp", "euc_kr", "big5", "big5hkscs", "gb18030"]
SETS = [
    ("cp1252", WESTERN), ("iso8859_1", WESTERN), ("iso8859_15", WESTERN), ("mac_roman", WESTERN),
    ("cp1250", CENTRAL), ("iso8859_2", CENTRAL), ("cp1257", BALTIC), ("iso8859_13", BALTIC),
    ("iso8859_4", BALTIC[:8]), ("iso8859_3", MALTESE), ("iso8859_10", NORDIC), ("iso8859_14", CELTIC),
    ("cp1251", RUSSIAN), ("koi8_r", RUSSIAN), ("koi8_u", UKRAINIAN), ("iso8859_5", RUSSIAN),
    ("cp1253", GREEK), ("iso8859_7", GREEK), ("cp1254", TURKISH), ("iso8859_9", TURKISH),
    ("cp1255", HEBREW), ("iso8859_8", HEBREW), ("cp1256", ARABIC), ("iso8859_6", ARABIC),
    ("cp874", THAI), ("iso8859_11", THAI), ("cp1258", VIETNAMESE), ("shift_jis", JAPANESE),
    ("euc_jp", JAPANESE), ("euc_kr", KOREAN), ("big5", TRADITIONAL), ("gb18030", SIMPLIFIED),
]


def encode(text, codec):
    """Vietnamese code pages hold a letter's tone as a combining mark after it."""
    try:
        return text.encode(codec)
    except UnicodeEncodeError:
        out = b""
        for ch in text:
            try:
                out += ch.encode(codec)
            except UnicodeEncodeError:
                base, *marks = unicodedata.normalize("NFD", ch)
                # The base with the mark the code page has a letter for (ă, ê, ơ, ư), then the tone.
                for m in marks:
                    letter = unicodedata.normalize("NFC", base + m)
                    if len(letter) == 1 and letter.encode(codec, "ignore"):
                        base = letter
                        marks.remove(m)
                        break
                out += (base + "".join(marks)).encode(codec)
        return out


# Words a short list may hold alone, beside those of the names.
WORDS = {"cp1252": ["João"], "cp1250": ["Őrs", "Łódź"], "cp1257": ["Šmidt", "Kęstutis"], "koi8_u": ["Київ", "Їжак"],
         "big5hkscs": ["何鴻燊", "陳嘅"]}
# Signs written after a word, and prices.
SIGNS = ["™", "©", "°", "№"]
PRICES = ["€", "£"]


def lines(names):
    return "".join(n + "\r\n" for n in names)


def main():
    folder = sys.argv[1]
    rng = random.Random(1250)
    files = {}

    def write(name, data, codec, bad_line=None):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        files[name] = {"codec": codec, "bad_line": bad_line, "text": None if bad_line else data.decode(codec)}

    for codec, names in SETS:
        write(codec + "-2.txt", encode(lines(names[:2]), codec), codec)
        for k in range(3):
            write("%s-2-%d.txt" % (codec, k), encode(lines(rng.sample(names, 2)), codec), codec)
        for k in range(2):
            write("%s-few-%d.txt" % (codec, k), encode(lines(rng.sample(names, rng.randint(3, len(names)))), codec),
                  codec)
        first = [n.split(" ")[0] for n in names]
        last = [n.split(" ")[-1] for n in names]
        many = [rng.choice(first) + " " + rng.choice(last) for _ in range(60)]
        write(codec + "-long.txt", encode(lines(many), codec), codec)

    # Short lists: one word, one line and two lines, with and without a sign or a price beside them.
    for codec, names in SETS + [("big5hkscs", TRADITIONAL)]:
        words = WORDS.get(codec, []) + [w for n in names[:3] for w in n.split(" ") if not w.isascii()]
        texts = words[:4] + [names[0] + "\r\n", lines(names[1:3]), "Acme™", "Brand™,€ 5\r\n"]
        texts += [words[0] + sign for sign in SIGNS] + [lines([names[0] + " " + sign]) for sign in SIGNS]
        texts += [lines([names[1], price + " 5"]) for price in PRICES]
        for k, text in enumerate(texts):
            try:
                data = text.encode(codec)
            except UnicodeEncodeError:
                continue  # the set has no such sign
            if codec in MULTIBYTE and ("£" in text or "€" in text):
                continue  # the Chinese, Japanese and Korean sets differ in their pound and euro
            write("%s-short-%d.txt" % (codec, k), data, codec)

    # UTF-16 without a byte-order mark: a line of letters beyond Latin-1 has NULs only beside blanks and line ends.
    for codec in ("utf-16-le", "utf-16-be"):
        for k, text in enumerate(["Иван Петров\r\n", "Ελένη Παππά", "Anna"]):
            write("%s-short-%d.txt" % (codec, k), text.encode(codec), codec)

    # Lists people met read wrong.
    write("polish-cp1250.txt", lines(["Łukasz Wójcik", "Śląsk"]).encode("cp1250"), "cp1250")
    write("polish-iso8859_2.txt", lines(["Łukasz Wójcik", "Śląsk"]).encode("iso8859_2"), "iso8859_2")
    write("japanese-shift_jis.txt", lines(["山田太郎", "佐藤花子"]).encode("shift_jis"), "shift_jis")
    write("korean-euc_kr.txt", lines(["김민수", "이서연"]).encode("euc_kr"), "euc_kr")
    write("chinese-big5.txt", lines(["陳美玲", "林志明"]).encode("big5"), "big5")
    write("turkish-cp1254.txt", lines(["Ayşe Şahin", "Mehmet Kılıç"]).encode("cp1254"), "cp1254")
    write("turkish-sukru-cp1254.txt", lines(["Şükrü Öztürk", "Ayşe Şahin"]).encode("cp1254"), "cp1254")
    write("rene-mac_roman.txt", lines(["René", "Zoë"]).encode("mac_roman"), "mac_roman")
    write("greek-cp1253.txt", lines(["Άννα Παπαδοπούλου", "Γιώργος Νικολάου"]).encode("cp1253"), "cp1253")
    write("naive-cp1252.txt", lines(["Café", "naïve"]).encode("cp1252"), "cp1252")
    # UTF-8 lists with a slip: one Windows-1252 letter, a cut last character, some lines in
    # Windows-1252.
    western = lines(["Zoë Martin", "René Lefèvre", "Jürgen Müller"]).encode("utf-8")
    write("utf8-stray.txt", western + "Café\r\n".encode("cp1252"), "utf-8", 4)
    write("utf8-cut.txt", western + "Noë".encode("utf-8")[:-1], "utf-8", 4)
    write("utf8-mixed.txt",
          western + lines(["Françoise Dubois"]).encode("cp1252") + lines(["Søren Ærø", "Ángel Muñoz"]).encode("utf-8"),
          "utf-8", 4)
    print(json.dumps(files))


if __name__ == "__main__":
    main()
