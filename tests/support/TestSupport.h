// Helpers every test program shares: running cardtool, Debian's python3 and other tools as child
// processes, reading and writing small files, and laying pictures on white for image readers.
#pragma once

#include "platform/ProcessRunner.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

namespace testsupport
{

// What a child process left behind; exitCode is -1 when it did not start or did not end normally.
struct ProcResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
    // The last line a command printed, e.g. its summary.
    QString lastLine() const { return outText().trimmed().split(QLatin1Char('\n')).last(); }
};

inline ProcResult run(const QString &program, const QStringList &args, const QByteArray &input = {},
                      int timeoutMs = 120000)
{
    ProcessRunner::Request request;
    request.program = program;
    request.arguments = args;
    request.standardInput = input;
    request.timeoutMs = timeoutMs;
    ProcessRunner::Result r = ProcessRunner::run(request);
    return {r.exitCode, std::move(r.standardOutput), std::move(r.standardError)};
}

// Standard output of a tool as text (empty when it could not run).
inline QString output(const QString &program, const QStringList &args)
{
    return run(program, args).outText();
}

#ifdef CARDTOOL_PATH
inline ProcResult cardtool(const QStringList &args, const QByteArray &input = {})
{
    return run(QStringLiteral(CARDTOOL_PATH), args, input);
}
#endif

// Debian's python3 explicitly: another one may come first on PATH without the modules we use.
inline ProcResult python(const QString &script, const QStringList &args = {}, const QByteArray &input = {})
{
    return run(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + args, input);
}

inline bool hasTool(const QString &name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Permission bits of a file or folder.
inline mode_t modeOf(const QString &path)
{
    struct stat st {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// The picture flattened on white with a white border, standing in for the quiet zone around a
// printed symbol.
inline QImage onWhite(const QImage &image, int border)
{
    QImage out(image.width() + 2 * border, image.height() + 2 * border, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(border, border, image);
    painter.end();
    return out;
}

// Lengths of the dark runs along row y between x0 and x1.
inline QList<int> darkRuns(const QImage &img, int y, int x0, int x1)
{
    QList<int> runs;
    int run = 0;
    for (int x = x0; x < x1; ++x) {
        if (qGray(img.pixel(x, y)) < 128) {
            ++run;
        } else if (run) {
            runs.append(run);
            run = 0;
        }
    }
    return runs;
}

// What poppler's pdfimages lists of a PDF: each image drawn, the image objects they draw, and
// what it said on its error stream.
struct PdfImages {
    int drawn = 0;
    int objects = 0;
    QString errors;
};
inline PdfImages pdfImages(const QString &pdf)
{
    const ProcResult listed = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    PdfImages found;
    QStringList ids;
    // Two heading lines, then one line an image drawn; its object number is the eleventh column.
    for (const QString &line : listed.outText().split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2)) {
        ++found.drawn;
        const QString id = line.simplified().section(QLatin1Char(' '), 10, 10);
        if (!ids.contains(id))
            ids << id;
    }
    found.objects = int(ids.size());
    found.errors = listed.exitCode == 0 ? listed.errText().trimmed() : QStringLiteral("pdfimages failed");
    return found;
}

// A repeatable text of length characters drawn from alphabet.
inline QString randomText(const QString &alphabet, int length, quint32 seed)
{
    QRandomGenerator random(seed);
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(alphabet.size()));
    return text;
}

} // namespace testsupport
