// How a list file's bytes become text. A byte-order mark names the encoding; without one, NULs
// beside most characters (or beside the line ends of text that is no UTF-8, or beside the blanks
// of a line of controls that reads as UTF-16 text) mean UTF-16; valid UTF-8 is UTF-8. Other bytes
// are read in every offered set and judged as a reader would see them (ListJudge: letters inside
// words rather than symbols, but for a sign after a word as in "Acme™", one script a word,
// capitals where names have them, letters some language writes together); the list is read
// without a question only when one reading alone is such text, and otherwise marked unsure with
// the likeliest reading first. Text that is mostly UTF-8 with a few bad bytes is offered as UTF-8,
// the bytes named.
// A stray byte never turns into a character on a card: a control character or a byte the
// character set does not define refuses the file, naming the byte and its line, and only the
// end-of-file byte 0x1A or NUL padding at the very end is left out (and said so).
#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

// The text of a list file, or why it cannot be read.
struct ListText {
    QString text;
    QByteArray charset; // the ICU converter name it was read in
    bool sure = true;   // false: a guess among character sets that read the bytes differently
    QString problem;    // for the user, naming the byte and its line; empty when read
    QString note;       // for the user: what was left out while reading
    bool stray = false; // the problem is a control character, which every 8-bit set reads alike
    // When unsure: a set for each distinct reading of the list, likeliest first (UTF-8 first for a
    // UTF-8 list with bad bytes, whose problem names them).
    QList<QByteArray> readings;
    bool ok() const { return problem.isEmpty(); }
};

class ListEncoding
{
public:
    // A character set the import window offers: its ICU converter name and what the user reads.
    struct Charset {
        QByteArray name;
        QString label;
    };
    static const QList<Charset> &charsets();
    // The label of a converter name; the name itself for one not offered.
    static QString labelOf(const QByteArray &name);

    // Reads the bytes by the rules above; fileName goes into the messages. The locale's language
    // settles between readings a reader would take alike.
    static ListText detect(const QByteArray &bytes, const QString &fileName,
                           const QLocale &locale = QLocale());
    // Reads the bytes in the character set the user chose (a byte-order mark of that encoding is
    // skipped); always sure.
    static ListText decode(const QByteArray &bytes, const QByteArray &charset, const QString &fileName);

    // "\"names.txt\" cannot be read as a list: ..." for bytes no character set read here takes:
    // the first byte that is no UTF-8 and its line.
    static QString notTextMessage(const QString &fileName, char byte, int line);
};
