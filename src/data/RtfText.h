// Reads the text of an RTF file as runs of like character formatting, with its own small tokenizer,
// so a list kept in a word processor can be imported without a platform text system.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class RtfText
{
public:
    // The formatting that tells one run from the next.
    struct Format {
        int font = 0;
        int size = 24; // half-points, as the file gives them
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        int colour = 0;
        int background = 0;
        int vertical = 0; // 1 superscript, -1 subscript
        char align = 'l'; // paragraph alignment: l, c, r, j
        bool operator==(const Format &) const = default;
    };
    struct Run {
        QString text;
        Format format;
    };

    // Parses the bytes of a file. A file that does not begin as RTF, nests too deeply or breaks off
    // inside a control word gives ok() false with the reason in error().
    static RtfText parse(const QByteArray &bytes);

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    const QList<Run> &runs() const { return m_runs; }
    QString plainText() const;

    static constexpr int MaxDepth = 200;

    // Windows-1252 text, the code page most RTF and older text files are written in.
    static QString decodeWindows1252(const QByteArray &bytes);

private:
    QList<Run> m_runs;
    QString m_error;
    friend class RtfParser;
};
