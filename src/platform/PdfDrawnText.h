// The text each line drawn into a PDF stands for, given to the file's text layer.
//
// A reader takes a PDF's text from the characters its fonts map each glyph to, in the order the
// glyphs are drawn. A Devanagari conjunct ("प्र") is a glyph no character maps to, and a vowel
// sign drawn before its consonant (ि) comes first: "प्रिया शर्मा" copied and searched as
// "ि या शमा". A Thai tone mark over a tall letter is a shifted glyph of its own, which no
// character maps to either: "วงศ์ใหญ่" read as "วงศใหญ". Lines in such scripts are drawn as their glyph runs
// and noted here while a PDF is written; the file then names each noted line's text as the actual text of its
// glyphs.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QPaintDevice;

class PdfDrawnText
{
public:
    // Notes the lines drawn into `device` from now until this is destroyed.
    explicit PdfDrawnText(const QPaintDevice *device);
    ~PdfDrawnText();
    PdfDrawnText(const PdfDrawnText &) = delete;
    PdfDrawnText &operator=(const PdfDrawnText &) = delete;

    // Whether lines drawn into the device are noted.
    static bool noting(const QPaintDevice *device);
    // A line drawn into the device as `runs.size()` glyph runs of those glyphs (the fonts' own
    // indexes), in fonts of those families, one text object of the file each, in the order drawn.
    static void note(const QPaintDevice *device, const QString &text, const QList<QList<quint32>> &runs,
                     const QStringList &families);

    // Marks the glyphs of each noted line in the file written as standing for its text. True when
    // nothing was noted or all was marked; false when a line's text objects were not found (the
    // others are marked) or the file's layout is not Qt's (pdf unchanged).
    bool spellOut(QByteArray &pdf) const;

    // Whether a line's glyphs, read in the order drawn, would not give its text: it holds a script
    // whose letters join into conjuncts, whose vowel signs are drawn before their consonant, or
    // whose marks take other glyphs by their place.
    static bool needsItsText(const QString &line);

    struct Line {
        QString text;
        QList<QList<quint32>> runs;
        QStringList families; // letters and digits only, in lower case
    };
    struct Log;

private:
    std::shared_ptr<Log> m_log;
};
