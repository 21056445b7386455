// List imports: the text, CSV and RTF rules of the import wizard, the encodings of text files, the
// RTF reader on real-world and damaged input, picture folders, and cardtool from outside.
#include "DataTestUtil.h"

#include "data/ListEncoding.h"
#include "data/ListImport.h"
#include "data/RtfText.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

#include <sys/stat.h>

using namespace datatest;

namespace
{
using L = QStringList;

// An RTF file as a Cocoa text editor writes it: font and colour tables, an ignorable destination,
// a paragraph of list lines, then a bold line.
const QByteArray cocoaRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\cocoartf2639\n"
    "\\cocoatextscaling0\\cocoaplatform0{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;}\n"
    "{\\colortbl;\\red255\\green255\\blue255;}\n"
    "{\\*\\expandedcolortbl;;}\n"
    "\\paperw11900\\paperh16840\\margl1440\\margr1440\\vieww11520\\viewh8400\\viewkind0\n"
    "\\pard\\tx566\\tx1133\\pardirnatural\\partightenfactor0\n"
    "\n"
    "\\f0\\fs24 \\cf0 Caf\\'e9 Rose\\\n"
    "  Bj\\uc0\\u246 rn \\{x\\}\\\n"
    "\\\n"
    "Price \\'80 5\\\n"
    "\n"
    "\\b Bold line\\\n"
    "\\b0 Plain again}";
} // namespace

TEST(ListImport, CleaningRemovesBackslashesAndBracesEverywhere)
{
    EXPECT_EQ(ListImport::clean(QStringLiteral("  a\\b{c}d \t")), QStringLiteral("abcd"));
    EXPECT_EQ(ListImport::clean(QStringLiteral("{\\}")), QString());
    // Cleaning happens before trimming, so blanks freed by a removed brace are trimmed too.
    EXPECT_EQ(ListImport::clean(QStringLiteral("{ x }")), QStringLiteral("x"));
}

TEST(ListImport, TextStopsAtTheFirstFontLine)
{
    const QString text =
        QStringLiteral("one\r\n\n  two  \n{three}\nNSFont = \"Helvetica 12.00 pt.\";\nfour\n");
    EXPECT_EQ(ListImport::fromText(text), (L{"one", "two", "three"}));
    // "NSFont = " counts only after cleaning and anywhere in the line.
    EXPECT_EQ(ListImport::fromText(QStringLiteral("a\n    NSFont = x;\nb")), (L{"a"}));
    EXPECT_EQ(ListImport::fromText(QStringLiteral("a\nNSFont=x\nb")), (L{"a", "NSFont=x", "b"}));
}

TEST(ListImport, CsvRowsEndAtEveryKindOfLineEnd)
{
    // One column, each line ending style: every value arrives, none glued to the next.
    EXPECT_EQ(ListImport::fromCsv(QStringLiteral("a\nb\r\nc\rd\n")), (L{"a", "b", "c", "d"}));
    EXPECT_EQ(ListImport::fromCsv(QStringLiteral("a,b,\r\n,c,\r\nd,  ,e\n")), (L{"a", "b", "c", "d", "e"}));
    // A field with the font marker ends its own row only.
    EXPECT_EQ(ListImport::fromCsv(QStringLiteral("a,NSFont = x,b\nc,d,e")), (L{"a", "c", "d", "e"}));
    // Backslashes and braces go inside fields too.
    EXPECT_EQ(ListImport::fromCsv(QStringLiteral("{x},y\\z")), (L{"x", "yz"}));
}

// Quoting as spreadsheets write it, each case with the values it gives (all columns) and with the
// second column alone.
TEST(ListImport, CsvQuotingKeepsCommasLineBreaksAndQuotes)
{
    struct Case {
        const char *name;
        QString csv;
        L all;
        L second;
    };
    const QList<Case> cases = {
        {"comma inside quotes", QStringLiteral("\"Smith, John\",42\r\n"), L{"Smith, John", "42"}, L{"42"}},
        {"doubled quote", QStringLiteral("\"Say \"\"hi\"\"\",x\n"), L{"Say \"hi\"", "x"}, L{"x"}},
        {"only a quote", QStringLiteral("\"\"\"\",b"), L{"\"", "b"}, L{"b"}},
        {"line break kept", QStringLiteral("\"12 High St\nLeeds\",LS1\nnext,row"),
         L{"12 High St\nLeeds", "LS1", "next", "row"}, L{"LS1", "row"}},
        {"CRLF inside quotes", QStringLiteral("a,\"x\r\ny\"\r\nb,c"), L{"a", "x\r\ny", "b", "c"},
         L{"x\r\ny", "c"}},
        {"empty quoted field", QStringLiteral("\"\",\"\"\n\"\",z"), L{"z"}, L{"z"}},
        {"quote inside an unquoted field", QStringLiteral("5\" tall,ok"), L{"5\" tall", "ok"}, L{"ok"}},
        {"blanks before the quote", QStringLiteral("a,  \"b, c\"\n"), L{"a", "b, c"}, L{"b, c"}},
        {"text after the closing quote", QStringLiteral("\"ab\"cd,e"), L{"abcd", "e"}, L{"e"}},
        {"never closed", QStringLiteral("x,\"open, to\nthe end"), L{"x", "open, to\nthe end"},
         L{"open, to\nthe end"}},
        {"cleaning after unquoting", QStringLiteral("\"{a}, \\b\",c"), L{"a, b", "c"}, L{"c"}},
        {"font marker quoted ends its row", QStringLiteral("\"NSFont = x\",b\nc,d"), L{"c", "d"}, L{"d"}},
        {"trailing comma", QStringLiteral("a,\n"), L{"a"}, L{}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ListImport::fromCsv(c.csv).toList(), c.all);
        EXPECT_EQ(ListImport::fromCsv(c.csv, 2).toList(), c.second);
    }
}

// The separator is the one that splits the first rows alike. Each list is read as Python's csv
// module reads it with the separator it was written with (none: a line is one value), column by
// column and whole.
TEST(ListImport, CsvSeparatorIsTheOneThatSplitsTheRowsAlike)
{
    struct Case {
        const char *name;
        QString csv;
        QString separator; // "" for none
    };
    const QList<Case> cases = {
        {"headerless semicolons, a comma in the first field",
         QStringLiteral("Smith, John;\"K\u00f6ln; Bonn\";12\r\nDoe, Jane;Berlin;7\r\n"), ";"},
        {"tabs, a comma in the first cell", QStringLiteral("Smith, John\tOslo\nAnn\tRome, IT\n"), "\t"},
        {"semicolons and decimal commas", QStringLiteral("12,50;EUR\n7,25;EUR\n"), ";"},
        {"semicolons, some decimal commas", QStringLiteral("Price;Currency\n12,50;EUR\n3;USD\n"), ";"},
        {"commas, semicolons quoted", QStringLiteral("Name,City\r\n\"Smith; John\",\"Paris; FR\"\r\n"), ","},
        {"semicolons, quotes doubled",
         QStringLiteral("Name;City\r\n\"Smith; John\";\"Paris, FR\"\r\nAnn;\"Say \"\"hi\"\"\"\n"), ";"},
        {"the separator giving more fields", QStringLiteral("a,b;c,d\ne,f;g,h\n"), ","},
        {"a line break inside quotes", QStringLiteral("\"12 High St\nLeeds\";LS1\nx;y\n"), ";"},
        {"blank lines left out", QStringLiteral("a;b\n\n  \nc;d\n"), ";"},
        {"rows past the twentieth not looked at", QStringLiteral("a;b\n").repeated(20) + "c,d,e;f\n", ";"},
        {"no separator splits alike", QStringLiteral("Smith, John\nAnn\nBo; Cy\n"), ""},
        {"one field a row", QStringLiteral("Name\nAnn\n"), ""},
    };
    QJsonArray input;
    for (const Case &c : cases)
        input.append(QJsonArray{c.csv, c.separator});
    const ProcResult parsed =
        python(QStringLiteral("import csv, io, json, sys\n"
                              "out = []\n"
                              "for text, sep in json.load(sys.stdin):\n"
                              "    f = io.StringIO(text, newline='')\n"
                              "    out.append(list(csv.reader(f, delimiter=sep or '\\x01')))\n"
                              "print(json.dumps(out))\n"),
               {}, QJsonDocument(input).toJson());
    ASSERT_EQ(parsed.exitCode, 0) << parsed.errText().toStdString();
    const QJsonArray books = QJsonDocument::fromJson(parsed.out).array();
    ASSERT_EQ(books.size(), cases.size());
    for (qsizetype k = 0; k < cases.size(); ++k) {
        const Case &c = cases[k];
        SCOPED_TRACE(c.name);
        L all;
        QList<L> columns(4);
        for (const QJsonValue &row : books[k].toArray()) {
            const QJsonArray fields = row.toArray();
            for (qsizetype f = 0; f < fields.size(); ++f) {
                const QString v = ListImport::clean(fields[f].toString());
                if (v.isEmpty())
                    continue;
                all.append(v);
                if (f < columns.size())
                    columns[f].append(v);
            }
        }
        EXPECT_EQ(ListImport::fromCsv(c.csv).toList(), all);
        for (int column = 1; column <= columns.size(); ++column)
            EXPECT_EQ(ListImport::fromCsv(c.csv, column).toList(), columns[column - 1])
                << "column " << column;
    }
}

TEST(ListImport, CsvQuotingAgreesWithPythonsReader)
{
    // Python's csv module writes and reads RFC 4180: what it writes, we read back field for field.
    QTemporaryDir tmp;
    const QString csv = tmp.filePath(QStringLiteral("people.csv"));
    const QString script = QStringLiteral(
        "import csv,sys\n"
        "rows=[['Name','Note'],['Smith, John','said \"hello\"'],['Line\\nBreak','x,y,z'],['plain','']]\n"
        "with open(sys.argv[1],'w',newline='',encoding='utf-8') as f: csv.writer(f).writerows(rows)\n");
    const ProcResult made = python(script, {csv});
    ASSERT_EQ(made.exitCode, 0) << made.errText().toStdString();
    const ListImportResult r = ListImport::readFile(csv);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.values.toList(),
              (L{"Name", "Note", "Smith, John", "said \"hello\"", "Line\nBreak", "x,y,z", "plain"}));
    EXPECT_EQ(ListImport::readFile(csv, ListImport::Kind::Csv, 2).values.toList(),
              (L{"Note", "said \"hello\"", "x,y,z"}));
}

TEST(ListImport, CsvColumnTakesOneFieldOfEachRow)
{
    const QString text = QStringLiteral("City,Zip,\nParis,75001,\nLyon,,\n,69002,\nNice,06000,extra\n");
    EXPECT_EQ(ListImport::fromCsv(text, 2), (L{"Zip", "75001", "69002", "06000"}));
    EXPECT_EQ(ListImport::fromCsv(text, 1), (L{"City", "Paris", "Lyon", "Nice"}));
    EXPECT_EQ(ListImport::fromCsv(text, 9), L{});
}

TEST(ListImport, PastedLinesStayAsTheyStandForANewSeries)
{
    const QString pasted = QStringLiteral("\n  first  \r\n\r\n second\n   \nthird\n\n");
    EXPECT_EQ(ListImport::fromPaste(pasted, true), (L{"first  ", " second", "   ", "third"}));
    EXPECT_EQ(ListImport::fromPaste(pasted, false), (L{"first", "second", "third"}));
    EXPECT_TRUE(ListImport::fromPaste(QStringLiteral(" \n\t\r\n"), true).isEmpty());
}

namespace
{
// The values Python's codecs and csv reader take from a list of the corpus read in the named
// codec: every field (every line of a .txt) stripped, empty ones left out, after the end-of-file
// byte and NUL padding at the end.
QJsonObject pythonValues(const QList<std::pair<QString, QString>> &fileCodecs)
{
    QJsonObject wanted;
    for (const auto &[file, codec] : fileCodecs)
        wanted[file] = codec;
    const QString script =
        QStringLiteral("import csv,io,json,sys\n"
                       "out={}\n"
                       "for name,codec in json.loads(sys.argv[2]).items():\n"
                       "    text=open(sys.argv[1]+'/'+name,'rb').read().decode(codec).rstrip('\\0\\x1a')\n"
                       "    rows=csv.reader(io.StringIO(text,newline='')) if name.endswith('.csv') else [[l] "
                       "for l in text.splitlines()]\n"
                       "    out[name]=[f.strip() for r in rows for f in r if f.strip()]\n"
                       "print(json.dumps(out))\n");
    const ProcResult r = python(
        script, {testFile(QStringLiteral("lists")), QString::fromUtf8(QJsonDocument(wanted).toJson())});
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString();
    return QJsonDocument::fromJson(r.outText().toUtf8()).object();
}

QStringList strings(const QJsonValue &array)
{
    QStringList out;
    for (const QJsonValue &v : array.toArray())
        out << v.toString();
    return out;
}
} // namespace

// Each list of the corpus (make_lists.py) is read as Python's codec wrote it, or refused naming the
// stray byte and its line; end-of-file bytes and NUL padding are left out with a note. A list other
// sets read as text too is read in the likeliest, said to be a guess. cardtool gives the same values
// and messages.
TEST(ListImport, ListsReadInTheCharacterSetTheyWereWrittenIn)
{
    struct Case {
        const char *file;
        const char *codec;   // Python's name; none for a refused file
        const char *charset; // the set it is read in
        const char *message; // part of the refusal, or of the note
        bool sure = true;    // no other set reads it as text
    } const cases[] = {
        {"utf-8.csv", "utf-8", "UTF-8", ""},
        {"utf-8-sig.csv", "utf-8-sig", "UTF-8", ""},
        {"utf-16.csv", "utf-16", "UTF-16LE", ""},
        {"utf-16-le.csv", "utf-16-le", "UTF-16LE", ""},
        {"utf-16-be.csv", "utf-16-be", "UTF-16BE", ""},
        {"utf-32.csv", "utf-32", "UTF-32LE", ""},
        // Upper Sorbian writes "Sřren Ćrř" (Windows-1250), Lithuanian "Franįoise" (ISO-8859-4).
        {"cp1252.csv", "cp1252", "windows-1252", "was read as Western European (Windows-1252), a guess",
         false},
        {"latin-1.csv", "latin-1", "windows-1252", "was read as Western European (Windows-1252), a guess",
         false},
        {"cp1251.csv", "cp1251", "windows-1251", ""},
        {"koi8-r.csv", "koi8-r", "KOI8-R", ""},
        {"cp1250.csv", "cp1250", "windows-1250", ""},
        {"iso-8859-2.csv", "iso-8859-2", "ISO-8859-2", ""},
        {"gb18030.csv", "gb18030", "GB18030", ""},
        {"cp1250-short.txt", "cp1250", "windows-1250", ""},
        {"utf-8-eof.csv", "utf-8", "UTF-8", "was read without the end-of-file byte 0x1A at its end."},
        {"utf-8-padded.csv", "utf-8", "UTF-8", "was read without the NUL padding at its end."},
        {"utf-8-nul.csv", nullptr, "UTF-8", "cannot be read as a list: line 3 holds a NUL byte (0x00)"},
        {"utf-8-nul-odd.csv", nullptr, "UTF-8", "cannot be read as a list: line 3 holds a NUL byte (0x00)"},
        {"utf-8-form-feed.csv", nullptr, "UTF-8",
         "cannot be read as a list: line 2 holds a form feed (0x0C)"},
        {"utf-8-vertical-tab.csv", nullptr, "UTF-8",
         "cannot be read as a list: line 2 holds a vertical tab (0x0B)"},
    };
    QList<std::pair<QString, QString>> readable;
    for (const Case &c : cases) {
        if (c.codec)
            readable.append({QLatin1String(c.file), QLatin1String(c.codec)});
    }
    const QJsonObject python = pythonValues(readable);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = testFile(QStringLiteral("lists/") + QLatin1String(c.file));
        const ListText detected = ListEncoding::detect(readFile(path), QLatin1String(c.file));
        EXPECT_EQ(detected.charset, QByteArray(c.charset));
        EXPECT_EQ(detected.sure, c.sure);
        const ListImportResult read = ListImport::readFile(path);
        const ProcResult listed = cardtool({QStringLiteral("list-import"), path});
        if (!c.codec) {
            EXPECT_FALSE(read.ok());
            EXPECT_EQ(read.message, QStringLiteral("\"%1\" ").arg(c.file) + QLatin1String(c.message) +
                                        QStringLiteral(", which no list holds. Delete it in a text editor "
                                                       "and import the list again."));
            EXPECT_EQ(listed.exitCode, 1);
            EXPECT_TRUE(listed.errText().contains(read.message));
            continue;
        }
        const QStringList values = strings(python[QLatin1String(c.file)]);
        ASSERT_FALSE(values.isEmpty());
        EXPECT_TRUE(read.ok()) << read.message.toStdString();
        EXPECT_EQ(read.values.toList(), values);
        EXPECT_EQ(read.note.isEmpty(), !*c.message);
        EXPECT_TRUE(read.note.contains(QLatin1String(c.message)));
        EXPECT_EQ(listed.exitCode, 0);
        EXPECT_EQ(listed.outText(), values.join('\n') + '\n');
        EXPECT_EQ(listed.errText().contains(QLatin1String("list-import: \"")), !read.note.isEmpty());
    }
}

// A list several sets read as text is read in the likeliest, marked unsure and said so; read in the
// set its writer used, it gives what Python wrote.
TEST(ListImport, AGuessIsMarkedAndTheUsersChoiceReadsTheList)
{
    struct Case {
        const char *file;
        const char *guess;
        const char *codec; // the writer's set, Python's name and ICU's
        const char *charset;
    } const cases[] = {
        {"gb18030-short.txt", "GB18030", "gb18030", "GB18030"},
        // "″" in Shift_JIS, "ЃЌ" in Windows-1251: neither beside a letter.
        {"cp1252-undefined.txt", "Shift_JIS", "cp1251", "windows-1251"},
    };
    QList<std::pair<QString, QString>> files;
    for (const Case &c : cases)
        files.append({QLatin1String(c.file), QLatin1String(c.codec)});
    const QJsonObject python = pythonValues(files);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = testFile(QStringLiteral("lists/") + QLatin1String(c.file));
        const ListText guess = ListEncoding::detect(readFile(path), QLatin1String(c.file));
        EXPECT_TRUE(guess.ok());
        EXPECT_FALSE(guess.sure);
        EXPECT_EQ(guess.charset, QByteArray(c.guess));
        const ListImportResult read = ListImport::readFile(path);
        EXPECT_EQ(read.note, QStringLiteral("\"%1\" was read as %2, a guess: several character sets read "
                                            "it differently.")
                                 .arg(c.file, ListEncoding::labelOf(c.guess)));
        const ListImportResult chosen = ListImport::readFile(path, ListImport::Kind::Txt, 0, c.charset);
        EXPECT_TRUE(chosen.ok());
        EXPECT_TRUE(chosen.note.isEmpty());
        EXPECT_EQ(chosen.values.toList(), strings(python[QLatin1String(c.file)]));
    }
}

// Lists of names written in every offered set by Python's codecs (lists/name_lists.py): short
// ones (a word, a line, two lines, with a sign or a price beside them) and longer ones. Each is read
// as written, or asked about with the written reading first; none is read wrong without a question.
// A UTF-8 list with a slip is offered as UTF-8 first, the slip named.
TEST(ListEncoding, NameListsAreReadAsWrittenOrAskedWithTheWrittenReadingFirst)
{
    // Words whose bytes are letters of another language in another set, and which no letter,
    // script, case or language tells apart: asked, the written reading among those offered.
    // Õrs, Őunapuu: Estonian and Hungarian; Ðmidt, Ğimkus, Kæstutis Èësna, Jânis, Lîga, Kalniòa,
    // Ozoliòa: Icelandic, Turkish, Danish, French, Italian; Ayþe, Ūahin, Žükrü, Ošuz: Nordic and
    // Baltic; Jiøí Dvoøák: Faroese; Szûcs: Afrikaans; Vãn, Rhūs, Borõ, Ąenrik, Æahra: Portuguese,
    // Latvian, Estonian, Polish, Danish; pointed Hebrew, Russian, Urdu and Chinese for the rest; and
    // the Cantonese 嘅, rarer than the Chinese characters its bytes are in GB18030.
    const QStringList letterTwins =
        QStringLiteral("Őrs Õunapuu Šmidt Šimkus Kęstutis Čėsna Jānis Līga Kalniņa Ozoliņa Ayşe Şahin Şükrü "
                       "Oğuz Jiří Dvořák Szűcs Văn Rhŷs Borġ Aġius Ħenrik Żahra محمد حسن สมชาย ใจดี 陳嘅")
            .split(u' ');
    QTemporaryDir tmp;
    const ProcResult made = run(QStringLiteral("/usr/bin/python3"),
                                {testFile(QStringLiteral("lists/name_lists.py")), tmp.path()});
    ASSERT_EQ(made.exitCode, 0) << made.errText().toStdString();
    const QJsonObject lists = QJsonDocument::fromJson(made.out).object();
    ASSERT_GT(lists.size(), 200);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    int silent = 0, asked = 0;
    for (auto it = lists.begin(); it != lists.end(); ++it) {
        const QString file = it.key();
        SCOPED_TRACE(file.toStdString());
        const QJsonObject list = it.value().toObject();
        const QByteArray bytes = readFile(tmp.filePath(file));
        const ListText read = ListEncoding::detect(bytes, file, english);
        if (const int badLine = list[QLatin1String("bad_line")].toInt(); badLine > 0) {
            EXPECT_FALSE(read.ok());
            EXPECT_FALSE(read.sure);
            EXPECT_EQ(read.readings.value(0), QByteArray("UTF-8"));
            EXPECT_TRUE(read.problem.contains(
                QStringLiteral("on line %1 is no character in Unicode (UTF-8)").arg(badLine)))
                << read.problem.toStdString();
            ++asked;
            continue;
        }
        const QString written = list[QLatin1String("text")].toString();
        ASSERT_TRUE(read.ok()) << read.problem.toStdString();
        const QStringList words =
            written.split(QRegularExpression(QStringLiteral("[\\s,°™©№€£]+")), Qt::SkipEmptyParts);
        const bool twin = std::any_of(words.cbegin(), words.cend(),
                                      [&](const QString &w) { return letterTwins.contains(w); });
        if (read.sure) {
            EXPECT_EQ(read.text, written)
                << "read as " << read.charset.toStdString() << " without a question";
            ++silent;
            continue;
        }
        ++asked;
        QStringList offered;
        for (const QByteArray &charset : read.readings)
            offered << ListEncoding::decode(bytes, charset, file).text;
        ASSERT_FALSE(offered.isEmpty());
        const qsizetype rank = offered.indexOf(written);
        if (twin)
            EXPECT_GE(rank, 0);
        else
            EXPECT_EQ(rank, 0) << "asked with " << read.readings.first().toStdString()
                               << " first, written in "
                               << list[QLatin1String("codec")].toString().toStdString();
    }
    std::cout << lists.size() << " lists: " << silent << " read without a question, " << asked << " asked\n";
}

// Bytes that are no list, or UTF-16 that is cut, are refused naming what is wrong; a NUL beside a
// line end of text that is no UTF-8 is UTF-16, one inside UTF-8 text is not.
TEST(ListImport, TheNulsOfUtf16AndStrayBytesAreToldApart)
{
    const QString cjk = QStringLiteral("\u5f20\u4f1f\n\u674e\u56db");
    const QByteArray cjkLe(reinterpret_cast<const char *>(cjk.utf16()), cjk.size() * 2);
    QByteArray random(4096, '\0');
    QRandomGenerator rng(7);
    for (char &b : random)
        b = char(rng.bounded(256));
    struct Case {
        const char *name;
        QByteArray bytes;
        L values;            // none: refused
        const char *message; // the refusal after "\"x.txt\" cannot be read as a list: "
    } const cases[] = {
        {"cjk without a mark", cjkLe, L{"\u5f20\u4f1f", "\u674e\u56db"}, ""},
        {"odd UTF-16",
         QByteArray("A\0n\0n\0a\0\n\0\n", 11),
         {},
         "it is UTF-16, but its 11 bytes are an odd number, so its last character is cut off. Save the "
         "list again as UTF-8 and import it again."},
        {"control",
         "Anna\nB\x01"
         "b\n",
         {},
         "line 2 holds the control character 0x01, which no list holds. Delete it in a text editor and "
         "import the list again."},
        {"random", random, {}, "line 1 holds a NUL byte (0x00), and "},
        {"a byte Windows-1252 lacks before a control character",
         "Anna\n\x81\x01\n",
         {},
         "line 2 holds the control character 0x81, which no list holds"},
        {"UTF-8 with a stray NUL at an even place",
         QByteArray("Zo\xc3\xab\r\n\0Ann\r\n", 12),
         {},
         "line 2 holds a NUL byte (0x00)"},
    };
    QTemporaryDir tmp;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = tmp.filePath(QStringLiteral("x.txt"));
        ASSERT_TRUE(writeFile(path, c.bytes));
        const ListImportResult read = ListImport::readFile(path);
        if (c.values.isEmpty()) {
            EXPECT_FALSE(read.ok());
            EXPECT_TRUE(read.message.startsWith(QStringLiteral("\"x.txt\" cannot be read as a list: ") +
                                                QLatin1String(c.message)))
                << read.message.toStdString();
        } else {
            EXPECT_TRUE(read.ok()) << read.message.toStdString();
            EXPECT_EQ(read.values.toList(), c.values);
        }
    }
}

TEST(ListImport, RtfGivesEveryParagraphWhateverItsFormatting)
{
    bool parsed = false;
    EXPECT_EQ(
        ListImport::fromRtf(cocoaRtf, &parsed),
        (L{QStringLiteral("Caf\u00e9 Rose"), QStringLiteral("Bj\u00f6rn x"), QStringLiteral("Price \u20ac 5"),
           QStringLiteral("Bold line"), QStringLiteral("Plain again")}));
    EXPECT_TRUE(parsed);
    EXPECT_EQ(ListImport::fromRtf("{\\rtf1\\ansi Alpha\\par {\\b Gamma}\\par Delta}").toList(),
              (L{"Alpha", "Gamma", "Delta"}));
    // A paragraph whose words change formatting is still one value.
    EXPECT_EQ(ListImport::fromRtf("{\\rtf1 one \\i two\\i0  three\\par four}").toList(),
              (L{"one two three", "four"}));
}

TEST(RtfText, RunsSplitWhereFormattingChanges)
{
    const RtfText doc = RtfText::parse(cocoaRtf);
    ASSERT_TRUE(doc.ok());
    ASSERT_EQ(doc.runs().size(), 3);
    EXPECT_TRUE(doc.runs().at(1).format.bold);
    EXPECT_EQ(doc.runs().at(1).text, QStringLiteral("Bold line\n"));
    EXPECT_EQ(doc.runs().at(2).text, QStringLiteral("Plain again"));
    // No table text, generator name or ignorable destination leaks into the body.
    EXPECT_FALSE(doc.plainText().contains(QStringLiteral("Helvetica")));
    EXPECT_FALSE(doc.plainText().contains(QStringLiteral(";")));
}

TEST(RtfText, GroupsRestoreFormattingAndDestinationsAreSkipped)
{
    const QByteArray word = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times;}{\\f1 Arial;}}"
                            "{\\info{\\title Secret}{\\author Me}}"
                            "{\\*\\generator Writer;}"
                            "\\pard\\plain Red{\\i  Green}{\\b\\i0 \\plain Blue}"
                            "{\\field{\\*\\fldinst HYPERLINK \"http://example.com\"}{\\fldrslt Link}}"
                            "\\par\\uc2 \\u8364\\'3f\\'3fX\\u-4064 ?{\\pict\\pngblip 89504e47}"
                            "\\bin3 {}}Z}";
    const RtfText doc = RtfText::parse(word);
    ASSERT_TRUE(doc.ok()) << doc.error().toStdString();
    // \plain inside the group gives back the default look, so Blue joins Red's run.
    EXPECT_EQ(doc.plainText(), QStringLiteral("Red GreenBlueLink\n\u20acX\uf020Z"));
    ASSERT_GE(doc.runs().size(), 3);
    EXPECT_EQ(doc.runs().at(0).text, QStringLiteral("Red"));
    EXPECT_TRUE(doc.runs().at(1).format.italic);
    EXPECT_EQ(doc.runs().at(2).text.left(4), QStringLiteral("Blue"));
}

TEST(RtfText, CodePagesOfSeveralBytesDecodeWhole)
{
    // Shift-JIS "日本" as hex escapes; skipped where this system has no such code page.
    const RtfText doc = RtfText::parse("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}");
    ASSERT_TRUE(doc.ok());
    if (QStringDecoder("windows-932").isValid()) {
        EXPECT_EQ(doc.plainText(), QStringLiteral("\u65e5\u672c"));
    }
}

// Text in a font with its own character set is written in that set's code page, as WordPad writes
// it: each case is encoded by Python's codec of that code page and must read back whole.
TEST(RtfText, FontsWithTheirOwnCharacterSetDecodeInItsCodePage)
{
    struct Case {
        int charset;
        const char *codec;
        QString text;
    };
    const QList<Case> cases = {
        {204, "cp1251", QStringLiteral("Иван Петров")},   {238, "cp1250", QStringLiteral("Łódź Żółć")},
        {161, "cp1253", QStringLiteral("Γιάννης")},       {162, "cp1254", QStringLiteral("Şükrü Işık")},
        {177, "cp1255", QStringLiteral("שלום")},          {178, "cp1256", QStringLiteral("مرحبا")},
        {186, "cp1257", QStringLiteral("Ąžuolas Šilas")}, {163, "cp1258", QStringLiteral("Đơn giá")},
        {222, "cp874", QStringLiteral("สวัสดี")},           {128, "cp932", QStringLiteral("日本語")},
        {134, "cp936", QStringLiteral("中文")},           {129, "cp949", QStringLiteral("한국어")},
        {136, "cp950", QStringLiteral("中文字")},         {77, "mac_roman", QStringLiteral("Café")},
        {89, "mac_cyrillic", QStringLiteral("Иван")},     {85, "mac_greek", QStringLiteral("Γιάννης")},
        {86, "mac_turkish", QStringLiteral("Şükrü")},     {88, "mac_latin2", QStringLiteral("Łódź")},
        {254, "cp437", QStringLiteral("Größe ½")},        {255, "cp850", QStringLiteral("Größe ø")},
    };
    QJsonArray input;
    for (const Case &c : cases)
        input.append(QJsonArray{c.text, QString::fromLatin1(c.codec)});
    // \'hh escapes of the encoded text, as a word processor writes them.
    const ProcResult encoded =
        python(QStringLiteral("import json, sys\n"
                              "for text, codec in json.load(sys.stdin):\n"
                              "    print(''.join(\"\\\\'%02x\" % b for b in text.encode(codec)))\n"),
               {}, QJsonDocument(input).toJson());
    ASSERT_EQ(encoded.exitCode, 0) << encoded.errText().toStdString();
    const QList<QByteArray> escaped = encoded.out.trimmed().split('\n');
    ASSERT_EQ(escaped.size(), cases.size());
    for (qsizetype k = 0; k < cases.size(); ++k) {
        const Case &c = cases[k];
        SCOPED_TRACE(c.codec);
        // WordPad: the document in Windows-1252, the text in font 1 of its own set, then font 0.
        const QByteArray rtf =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 "
            "Calibri;}{\\f1\\fnil\\fcharset" +
            QByteArray::number(c.charset) +
            " Calibri;}}\n{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \n"
            "\\pard\\sa200\\sl276\\slmult1\\f1\\fs22\\lang1049 " +
            escaped[k] + "\\f0\\lang9  caf\\'e9\\par\n}";
        EXPECT_EQ(RtfText::parse(rtf).plainText(), c.text + QStringLiteral(" caf\u00e9\n"));
    }
}

// The document's code page stays the default: for text before any font, in a font of the ANSI
// set, and in the default font \deff names; a font's \cpg is taken before its set.
TEST(RtfText, TheDocumentsCodePageIsTheDefault)
{
    const QByteArray ivan = "\\'c8\\'e2\\'e0\\'ed"; // "Иван" in Windows-1251
    const struct {
        const char *what;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"no font", "{\\rtf1\\ansi\\ansicpg1251 " + ivan + "}", QStringLiteral("Иван")},
        {"an ANSI font",
         "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl\\f0\\fswiss\\fcharset0 Arial;}\\f0 " + ivan + "}",
         QStringLiteral("Иван")},
        {"the default font", "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}" + ivan + "}",
         QStringLiteral("Иван")},
        {"a code page over the set",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset161\\cpg1251 A;}}\\f0 " + ivan + "}", QStringLiteral("Иван")},
        {"a set this system lacks",
         "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset130 A;}}\\f0 " + ivan + "}",
         QStringLiteral("Иван")},
        {"the ANSI font after the set's",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\f2\\fcharset204 B;}}{\\f2 " + ivan + "}\\'c8}",
         QStringLiteral("Иван\u00c8")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RtfText::parse(c.rtf).plainText(), c.text) << c.what;
}

TEST(RtfText, DamagedInputFailsOrReadsButNeverCrashes)
{
    EXPECT_FALSE(RtfText::parse("plain text").ok());
    EXPECT_FALSE(RtfText::parse("").ok());
    EXPECT_FALSE(RtfText::parse("{\\rtf1 " + QByteArray(5000, '{') + "x").ok());
    // Files cut short still give what they hold.
    EXPECT_EQ(RtfText::parse("{\\rtf1 abc\\'4").plainText(), QStringLiteral("abc"));
    EXPECT_EQ(RtfText::parse("{\\rtf1 abc\\").plainText(), QStringLiteral("abc"));
    EXPECT_EQ(RtfText::parse("{\\rtf1 a\\bin99999999999 b}").plainText(), QStringLiteral("a"));

    QRandomGenerator random(16);
    const QByteArray alphabet = "{}\\'*abcfu0123456789- \n;";
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes = "{\\rtf1 ";
        const int n = random.bounded(200);
        for (int i = 0; i < n; ++i)
            bytes += random.bounded(4) == 0 ? char(random.bounded(256))
                                            : alphabet.at(random.bounded(alphabet.size()));
        const RtfText doc = RtfText::parse(bytes);
        (void)doc.plainText();
    }
}

TEST(ListImport, FileFailuresGiveTheWizardsMessages)
{
    QTemporaryDir tmp;
    const QString missing = tmp.filePath(QStringLiteral("missing.txt"));
    EXPECT_EQ(ListImport::readFile(missing).message, ListImport::MsgInvalidFile);
    EXPECT_EQ(ListImport::readFile(tmp.path(), ListImport::Kind::Txt).message, ListImport::MsgInvalidFile);

    const QString empty = tmp.filePath(QStringLiteral("empty.csv"));
    writeFile(empty, "");
    EXPECT_EQ(ListImport::readFile(empty).message, ListImport::MsgCorrupted);
    const QString notRtf = tmp.filePath(QStringLiteral("fake.RTF"));
    writeFile(notRtf, "just text\n");
    EXPECT_EQ(ListImport::kindOf(notRtf), ListImport::Kind::Rtf);
    EXPECT_EQ(ListImport::readFile(notRtf).message, ListImport::MsgCorrupted);
    const QString noText = tmp.filePath(QStringLiteral("blank.rtf"));
    writeFile(noText, "{\\rtf1{\\fonttbl\\f0 Helvetica;}}");
    EXPECT_EQ(ListImport::readFile(noText).message, ListImport::MsgCorrupted);

    // Lines that all clean to nothing are no failure: the import gives no values.
    const QString braces = tmp.filePath(QStringLiteral("braces.txt"));
    writeFile(braces, "{}\n\\\n");
    const ListImportResult r = ListImport::readFile(braces);
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.values.isEmpty());
}

TEST(ListImport, OnlyRegularFilesUpToTheLimitAreRead)
{
    QTemporaryDir tmp;
    // A pipe with no writer would block an ordinary open for good.
    const QString fifo = tmp.filePath(QStringLiteral("list.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ListImportResult r = ListImport::readFile(fifo);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message, ListImport::MsgInvalidFile);

    // A device behind a link with a list's name: refused, not read without end.
    const QString zero = tmp.filePath(QStringLiteral("zero.csv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    r = ListImport::readFile(zero);
    EXPECT_EQ(r.message, ListImport::MsgInvalidFile);

    // Past the limit: refused before reading (sparse, so no disk is used); at the limit: read.
    for (const char *name : {"big.txt", "big.rtf", "big.csv"}) {
        QFile big(tmp.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(ListImport::MaxFileSize + 1));
        big.close();
        r = ListImport::readFile(big.fileName());
        EXPECT_FALSE(r.ok()) << name;
        EXPECT_EQ(r.message, ListImport::tooLargeMessage());
    }
    EXPECT_TRUE(ListImport::tooLargeMessage().contains(QStringLiteral("64 MB")));
    const QString full = tmp.filePath(QStringLiteral("full.txt"));
    const QByteArray line = QByteArray(1023, 'x') + '\n';
    ASSERT_TRUE(writeFile(full, line.repeated(ListImport::MaxFileSize / line.size())));
    r = ListImport::readFile(full);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.values.size(), ListImport::MaxFileSize / line.size());
    EXPECT_EQ(r.values.at(0).size(), 1023);
}

TEST(ListImport, AValueLongerThanACellIsRefused)
{
    const QString longest(ListImport::MaxValueLength, QLatin1Char('a'));
    QString problem;
    EXPECT_EQ(ListImport::fromText(QStringLiteral("x\n") + longest, &problem).size(), 2);
    EXPECT_TRUE(problem.isEmpty());
    // Blanks around a value do not count; one more character does.
    EXPECT_EQ(ListImport::fromCsv(QStringLiteral("  ") + longest + QStringLiteral(" ,y"), 0, &problem).size(),
              2);
    EXPECT_TRUE(problem.isEmpty());
    const ListValues cut =
        ListImport::fromText(QStringLiteral("x\n") + longest + QStringLiteral("a\nz"), &problem);
    EXPECT_EQ(problem, ListImport::valueTooLongMessage());
    EXPECT_EQ(cut.toList(), L{"x"});

    QTemporaryDir tmp;
    const QString csv = tmp.filePath(QStringLiteral("long.csv"));
    ASSERT_TRUE(writeFile(csv, "a,\"" + QByteArray(40000, 'b') + "\"\n"));
    const ListImportResult r = ListImport::readFile(csv);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message, ListImport::valueTooLongMessage());
    EXPECT_TRUE(r.values.isEmpty());
}

TEST(ListImport, PictureFoldersListTheNineTypesSorted)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QStringList names = {"b.PNG", "a.jpg", "c.JPEG", "d.jpe",  "e.JFIF", "f.gif",
                               "g.Bmp", "h.tif", "i.TIFF", "j.webp", "k.txt",  "noext"};
    for (const QString &n : names)
        writeFile(dir.filePath(n), "x");
    dir.mkpath(QStringLiteral("folder.png"));
    writeFile(dir.filePath(QStringLiteral("folder.png/inner.png")), "x");

    QStringList expected;
    for (const char *n : {"a.jpg", "b.PNG", "c.JPEG", "d.jpe", "e.JFIF", "f.gif", "g.Bmp", "h.tif", "i.TIFF"})
        expected << dir.filePath(QString::fromLatin1(n));
    EXPECT_EQ(ListImport::pictureFiles(tmp.path()), expected);
    EXPECT_EQ(ListImport::pictureFiles(dir.filePath(QStringLiteral("none"))), QStringList());
}

TEST(ListImport, CardtoolPrintsTheValues)
{
    QTemporaryDir tmp;
    const QString csv = tmp.filePath(QStringLiteral("list.csv"));
    writeFile(csv, "City,Zip\r\nParis,75001\rLyon,69002\n");
    ProcResult r = cardtool({QStringLiteral("list-import"), csv, QStringLiteral("--kind"),
                             QStringLiteral("csv"), QStringLiteral("--column"), QStringLiteral("2")});
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_EQ(r.outText(), QStringLiteral("Zip\n75001\n69002\n"));

    const QString rtf = tmp.filePath(QStringLiteral("list.rtf"));
    writeFile(rtf, cocoaRtf);
    r = cardtool({QStringLiteral("list-import"), rtf});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.outText(),
              QStringLiteral("Caf\u00e9 Rose\nBj\u00f6rn x\nPrice \u20ac 5\nBold line\nPlain again\n"));

    r = cardtool({QStringLiteral("list-import"), rtf, QStringLiteral("--kind"), QStringLiteral("xls")});
    EXPECT_EQ(r.exitCode, 1);
    r = cardtool({QStringLiteral("list-import"), tmp.filePath(QStringLiteral("missing.txt"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains(ListImport::MsgInvalidFile));
}
