#include "platform/PdfToUnicode.h"

#include "platform/PdfPatch.h"

#include <QRegularExpression>
#include <QString>

#include <vector>

namespace
{

bool isPresentationForm(char16_t c)
{
    return (c >= 0xFB00 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFE);
}

// "<0645>": UTF-16 code units, four hex digits each.
bool fromHex(const QString &hex, QString *text)
{
    if (hex.isEmpty() || hex.size() % 4 != 0)
        return false;
    text->clear();
    for (qsizetype i = 0; i < hex.size(); i += 4) {
        bool ok = false;
        const uint unit = hex.mid(i, 4).toUInt(&ok, 16);
        if (!ok)
            return false;
        *text += QChar(char16_t(unit));
    }
    return true;
}

QString toHex(const QString &text)
{
    QString hex;
    for (const QChar c : text)
        hex += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return hex;
}

// The characters a destination should name: each presentation form as the letters it stands for.
QString spelledOut(const QString &text)
{
    QString out;
    for (const QChar c : text)
        out += isPresentationForm(c.unicode()) ? QString(c).normalized(QString::NormalizationForm_KC)
                                               : QString(c);
    return out;
}

// One hex destination, spelled out; false when it is not hex.
bool mendDestination(const QString &hex, QString *mended, bool *changed)
{
    QString text;
    if (!fromHex(hex, &text))
        return false;
    const QString out = spelledOut(text);
    *changed = *changed || out != text;
    *mended = toHex(out);
    return true;
}

// One line of a bfchar or bfrange section, as it was when it names no presentation form. A range
// that steps from one destination becomes the list of its destinations.
bool mendLine(const QString &line, QString *mended)
{
    static const QRegularExpression single(QStringLiteral(R"(^(<[0-9A-Fa-f]+>)\s*<([0-9A-Fa-f]+)>$)"));
    static const QRegularExpression stepped(
        QStringLiteral(R"(^(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>)\s*<([0-9A-Fa-f]+)>$)"));
    static const QRegularExpression listed(
        QStringLiteral(R"(^(<[0-9A-Fa-f]+>\s*<[0-9A-Fa-f]+>)\s*\[(.*)\]$)"));
    static const QRegularExpression entry(QStringLiteral(R"(<([0-9A-Fa-f]*)>)"));
    bool changed = false;
    QString to;
    QRegularExpressionMatch m;
    if ((m = single.match(line)).hasMatch()) {
        if (!mendDestination(m.captured(2), &to, &changed))
            return false;
        *mended = m.captured(1) + QStringLiteral(" <") + to + QLatin1Char('>');
    } else if ((m = stepped.match(line)).hasMatch()) {
        const uint low = m.captured(2).toUInt(nullptr, 16), high = m.captured(3).toUInt(nullptr, 16);
        QString first;
        if (high < low || high - low > 255 || !fromHex(m.captured(4), &first))
            return false;
        QString list;
        for (uint k = 0; k <= high - low; ++k) {
            QString destination = first;
            destination.back() = QChar(char16_t(destination.back().unicode() + k));
            if (!mendDestination(toHex(destination), &to, &changed))
                return false;
            list += QLatin1Char('<') + to + QStringLiteral("> ");
        }
        *mended = m.captured(1) + QStringLiteral(" [") + list + QLatin1Char(']');
    } else if ((m = listed.match(line)).hasMatch()) {
        QString list;
        for (auto it = entry.globalMatch(m.captured(2)); it.hasNext();) {
            if (!mendDestination(it.next().captured(1), &to, &changed))
                return false;
            list += QLatin1Char('<') + to + QStringLiteral("> ");
        }
        *mended = m.captured(1) + QStringLiteral(" [") + list + QLatin1Char(']');
    } else {
        return false;
    }
    if (!changed)
        *mended = line;
    return true;
}

// The text of one character map with its presentation forms spelled out; false when a line of
// its mappings is not as Qt writes it.
bool mendMap(const QString &map, QString *mended)
{
    QStringList lines = map.split(QLatin1Char('\n'));
    bool inSection = false;
    for (QString &line : lines) {
        const QString t = line.trimmed();
        if (t.endsWith(QLatin1String("beginbfrange")) || t.endsWith(QLatin1String("beginbfchar"))) {
            inSection = true;
        } else if (t == QLatin1String("endbfrange") || t == QLatin1String("endbfchar")) {
            inSection = false;
        } else if (inSection && !t.isEmpty()) {
            QString to;
            if (!mendLine(t, &to))
                return false;
            if (to != t)
                line = to;
        }
    }
    *mended = lines.join(QLatin1Char('\n'));
    return true;
}

} // namespace

bool PdfToUnicode::spellOutPresentationForms(QByteArray &pdf)
{
    static const QByteArray header = "<< /Length ";
    static const QByteArray start = " >>\nstream\n";
    std::vector<PdfPatch::Patch> patches;
    for (qsizetype at = pdf.indexOf("/Adobe-Identity-UCS"); at >= 0;
         at = pdf.indexOf("/Adobe-Identity-UCS", at + 1)) {
        // The character map's stream: "<< /Length N >>\nstream\n", N bytes, "\nendstream".
        const qsizetype streamAt = pdf.lastIndexOf(start, at);
        const qsizetype lengthAt = pdf.lastIndexOf(header, streamAt);
        if (streamAt < 0 || lengthAt < 0)
            return false;
        bool ok = false;
        const qsizetype digits = lengthAt + header.size();
        const qsizetype length = pdf.mid(digits, streamAt - digits).toLongLong(&ok);
        const qsizetype content = streamAt + start.size();
        if (!ok || length < 0 || content + length > pdf.size() || at >= content + length ||
            !QByteArrayView(pdf).sliced(content + length).startsWith("\nendstream"))
            return false;
        const QString map = QString::fromLatin1(pdf.mid(content, length));
        QString mended;
        if (!mendMap(map, &mended))
            return false;
        if (mended != map) {
            const QByteArray bytes = mended.toLatin1();
            patches.push_back({digits, streamAt - digits, QByteArray::number(bytes.size())});
            patches.push_back({content, length, bytes});
        }
        at = content + length;
    }
    return PdfPatch::apply(pdf, std::move(patches));
}
