#!/usr/bin/python3
"""Writes the list corpus beside this script: the same kinds of lists people save from spreadsheets
and editors, each encoded by Python's codecs, plus UTF-8 lists with stray bytes. Run it again after
changing a list; the test reads the files as committed."""

import os

HERE = os.path.dirname(os.path.abspath(__file__))

LATIN = "Name,City\r\nZoë Martin,Malmö\r\nJürgen Müller,Köln\r\nFrançoise Dubois,Orléans\r\nSøren Ærø,Århus\r\n"
WESTERN = LATIN + "Café Noël,€5 ‘menu’\r\n"
RUSSIAN = ("Имя,Город\r\nИван Петров,Москва\r\nМария Сидорова,Санкт-Петербург\r\n"
           "Алексей Смирнов,Новосибирск\r\nЕкатерина Кузнецова,Екатеринбург\r\n")
CENTRAL = ("Jméno,Město\r\nJiří Dvořák,Łódź\r\nŽofie Šťastná,Brno\r\nPaweł Wiśniewski,Kraków\r\n"
           "Zoltán Kovács,Győr\r\nAnežka Řezníčková,Ústí nad Labem\r\n")
CHINESE = "姓名,城市\r\n王芳,北京\r\n李娜,上海\r\n张伟,广州\r\n刘洋,深圳\r\n陈静,杭州\r\n"
MIXED = "Anna\r\nZoë\r\nŁukasz\r\n张伟\r\nمحمد\r\nИван\r\nSam 😀\r\n"

FILES = {
    "utf-8.csv": MIXED.encode("utf-8"),
    "utf-8-sig.csv": MIXED.encode("utf-8-sig"),
    "utf-16.csv": MIXED.encode("utf-16"),
    "utf-16-le.csv": MIXED.encode("utf-16-le"),
    "utf-16-be.csv": MIXED.encode("utf-16-be"),
    "utf-32.csv": MIXED.encode("utf-32"),
    "cp1252.csv": WESTERN.encode("cp1252"),
    "latin-1.csv": LATIN.encode("latin-1"),
    "cp1251.csv": RUSSIAN.encode("cp1251"),
    "koi8-r.csv": RUSSIAN.encode("koi8-r"),
    "cp1250.csv": CENTRAL.encode("cp1250"),
    "iso-8859-2.csv": CENTRAL.encode("iso-8859-2"),
    "gb18030.csv": CHINESE.encode("gb18030"),
    # One stray NUL inside a value of a UTF-8 list (36 bytes, an even count).
    "utf-8-nul.csv": "Name,City\r\nZoë,Malmö\r\nAn\0na,Oslo\r\n".encode("utf-8"),
    # The same with one more byte: an odd count.
    "utf-8-nul-odd.csv": "Name,City\r\nZoë,Malmö\r\nAn\0na,Oslo!\r\n".encode("utf-8"),
    # The end-of-file byte old DOS programs write.
    "utf-8-eof.csv": LATIN.encode("utf-8") + b"\x1a",
    # A list padded with NULs to a block's size.
    "utf-8-padded.csv": LATIN.encode("utf-8").ljust(256, b"\0"),
    "utf-8-form-feed.csv": "Name,City\r\nZoë,Mal\fmö\r\n".encode("utf-8"),
    "utf-8-vertical-tab.csv": "Name,City\r\nZoë\v Martin,Malmö\r\n".encode("utf-8"),
    # Too little text for the detector to be sure: the import window asks.
    "cp1250-short.txt": "Jiří Dvořák\r\nŁódź\r\n".encode("cp1250"),
    "gb18030-short.txt": "王芳\r\n".encode("gb18030"),
    # Two of the bytes Windows-1252 leaves undefined.
    "cp1252-undefined.txt": b"Anna\n\x81\x8d\n",
}

if __name__ == "__main__":
    for name, data in FILES.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
