#include "output/OutputProblems.h"

#include "barcode/BarcodeDrawing.h"
#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodeSettings.h"
#include "foundation/CardCodes.h"
#include "model/GraphicWords.h"
#include "model/PathUtil.h"
#include "model/SKTBarcode.h"
#include "model/SKTText.h"
#include "output/BatchBarcodeSettings.h"
#include "platform/FontCoverage.h"
#include "platform/FontResolver.h"
#include "platform/PictureReader.h"

#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <unordered_set>
#include <vector>

namespace OutputProblems
{
namespace
{
// Half a point: what an edge may be off by before a card shows it cut.
constexpr double Slack = 0.5;

bool inside(const QRectF &area, const QRectF &card)
{
    return area.isEmpty() || card.adjusted(-Slack, -Slack, Slack, Slack).contains(area);
}

// Where the pixels of a picture differ from its background, in points from its corner.
QRectF inkOfPixels(const QImage &pixels, QSizeF size, const QColor &background)
{
    const QImage image = pixels.convertToFormat(QImage::Format_ARGB32);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int differs = std::abs(qRed(p) - background.red()) +
                                std::abs(qGreen(p) - background.green()) +
                                std::abs(qBlue(p) - background.blue());
            if (qAlpha(p) < 128 || differs < 96)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return {};
    const double kx = size.width() / image.width(), ky = size.height() / image.height();
    return QRectF(left * kx, top * ky, (right - left + 1) * kx, (bottom - top + 1) * ky);
}

// Where a barcode picture shows anything over its ground, in points from its corner: read from
// what a barcode is made of, or from the pixels of one kept in a design file.
QRectF inkOf(const Picture &picture, const QColor &background)
{
    if (const auto *made = dynamic_cast<const BarcodeDrawing *>(picture.drawing()))
        return made->markedArea();
    if (!picture.image().isNull())
        return inkOfPixels(picture.image(), picture.size(), background);
    // Some other recording: the whole picture, unless it is small enough to look at.
    constexpr double MostPoints = 4.0e6;
    const QSizeF size = picture.size();
    if (size.width() * size.height() > MostPoints)
        return QRectF(QPointF(0, 0), size);
    return inkOfPixels(picture.toImage(), size, background);
}

// The first object drawn in front of the shown one over part of area, or null. Edges that meet, or
// overlap by rounding, cover nothing.
const SKTGraphic *coverOf(const Shown &shown, const QRectF &area)
{
    if (!shown.side)
        return nullptr;
    for (qsizetype j = 0; j < shown.index && j < shown.side->size(); ++j) {
        const SKTGraphic &over = *shown.side->at(j);
        if (!over.ctrl_is_visible || over.print_object != 0)
            continue;
        // A barcode in front covers what it draws, past its frame too.
        QRectF covering = over.bounds();
        if (over.kind() == SKTGraphic::Kind::Barcode && over._barcode_image && !over._barcode_image->isNull())
            covering = covering.united(SKTBarcode::drawnArea(over.bounds(), over._barcode_image->size()));
        const QRectF common = area.intersected(covering);
        if (common.width() > Slack && common.height() > Slack)
            return &over;
    }
    return nullptr;
}

// What covers an object, as the user knows it: a barcode by its type and, when it shows its own, its
// value (one filled from data shows another on each card).
QString coverName(const SKTGraphic &over)
{
    if (over.kind() != SKTGraphic::Kind::Barcode)
        return GraphicWords::of(over);
    const QString none;
    return QStringLiteral("the ") +
           barcodeName(over, over.data_source_type == DataSourceCode::Fixed ? nullptr : &none);
}

// A text behind a barcode does not show through its picture's ground.
QString hiddenTextProblem(const Shown &shown)
{
    if (shown.object.kind() != SKTGraphic::Kind::Text || !shown.side)
        return {};
    const auto &text = static_cast<const SKTText &>(shown.object);
    const QRectF frame = text.bounds();
    const SKTGraphic *over = coverOf(shown, frame);
    if (!over || over->kind() != SKTGraphic::Kind::Barcode)
        return {};
    // Where its lines are, as a frame may be taller than its words; a text far longer than its
    // box fills it.
    constexpr qsizetype MostMeasured = 2000;
    const double lines = !shown.value ? text.drawnTextHeight()
                         : shown.value->size() > MostMeasured
                             ? frame.height()
                             : SKTText::heightAsDrawn(*shown.value, text.drawnFont(), frame.width());
    over = coverOf(shown, QRectF(frame.topLeft(), QSizeF(frame.width(), std::min(frame.height(), lines))));
    if (!over || over->kind() != SKTGraphic::Kind::Barcode)
        return {};
    return QStringLiteral("lies under %1 and does not show there.").arg(coverName(*over));
}

QString textProblem(const Shown &shown)
{
    if (shown.object.kind() != SKTGraphic::Kind::Text)
        return {};
    const auto &text = static_cast<const SKTText &>(shown.object);
    switch (text.cutOf(shown.value ? *shown.value : text.textContentsForDrawing().text, shown.card)) {
    case SKTText::Cut::ByBox:
        return QStringLiteral("does not fit its box and is cut.");
    case SKTText::Cut::ByCard:
        return QStringLiteral("runs past the card's edge and is cut.");
    case SKTText::Cut::None:
        break;
    }
    return {};
}

QString barcodeProblem(const Shown &shown)
{
    const SKTGraphic &g = shown.object;
    if (g.kind() != SKTGraphic::Kind::Barcode)
        return {};
    const QString offCard = QStringLiteral("runs off the card.");
    const QColor background = g.barcode_back_clr_val.value_or(QColor(Qt::white));
    // Drawn whole at its own size from the object's corner, past a smaller frame, as every output
    // and the canvas draw it; a blank margin past the card's edge loses nothing.
    const QPointF at = g.bounds().topLeft();
    const auto judge = [&](const QSizeF &size, const auto &ink) {
        // Most pictures lie on the card whole: what they show need not be looked for then.
        const QRectF area = SKTBarcode::drawnArea(g.bounds(), size);
        const bool off = !inside(area, shown.card) && !inside(ink().translated(at), shown.card);
        const SKTGraphic *over = coverOf(shown, area);
        if (!over)
            return off ? offCard : QString();
        return QStringLiteral("%1 partly covered by %2: it may not scan.")
            .arg(off ? QStringLiteral("runs off the card and is") : QStringLiteral("is"), coverName(*over));
    };
    const auto judgePicture = [&](const Picture &picture) {
        return judge(picture.size(), [&] { return inkOf(picture, background); });
    };
    const BarcodeSettings settings = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(g);
    const QString header = g.header_val.value_or(QString()), footer = g.footer_val.value_or(QString());
    if (!shown.value) {
        // Its picture may be of another type or value than it holds now (a type chosen for several
        // barcodes that this one's value does not suit): what it holds must make a symbol.
        const QString own = (g.linear_or_2d != 0 ? g.two_d_font_val : g.linear_font_val).value_or(QString());
        if (!own.isEmpty() && !BarcodeGenerator::measure(settings, own, header, footer).made)
            return QStringLiteral("cannot be made as %1 from its value \"%2\".")
                .arg(settings.symbologyTitle, own.size() > 24 ? own.left(23) + QChar(0x2026) : own);
        if (g._barcode_image && !g._barcode_image->isNull())
            return judgePicture(*g._barcode_image);
        return {};
    }
    // Known from the value's length: making such a symbol only to measure it takes long.
    if (BarcodeGenerator::leastWidth(settings, *shown.value) > shown.card.width() + Slack)
        return QStringLiteral("has a value too long to fit on the card.");
    const QString cannot = QStringLiteral("cannot be made from the row's value.");
    if (shown.maker) {
        if (!*shown.maker)
            return {};
        const BarcodeResult made = (*shown.maker)(settings, *shown.value, header, footer);
        if (!made.ok())
            return cannot;
        return judgePicture(made.picture);
    }
    const BarcodeGenerator::Extent extent = BarcodeGenerator::measure(settings, *shown.value, header, footer);
    if (!extent.made)
        return cannot;
    return judge(extent.size, [&] { return extent.markedArea(); });
}

QString pictureProblem(const Shown &shown)
{
    if (shown.object.kind() != SKTGraphic::Kind::Image)
        return {};
    if (!shown.value) {
        if (!shown.missing)
            return {};
        return shown.missing->gone
                   ? QStringLiteral("is blank: its file \"%1\" is gone.").arg(shown.missing->path)
                   : QStringLiteral("is blank: its file \"%1\" cannot be read.").arg(shown.missing->path);
    }
    if (shown.value->isEmpty())
        return {};
    const QString path = PathUtil::standardizedPath(*shown.value);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("is blank: the row's picture file is gone.");
    // Its header alone tells most pictures that will not read (a JPEG of 12-bit samples).
    return PictureReader::probe(path).isEmpty()
               ? QString()
               : QStringLiteral("is blank: the row's picture file cannot be read.");
}

char32_t codeAt(const QString &text, qsizetype i, qsizetype *length)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    }
    *length = 1;
    return c.unicode();
}

// What may belong to the character before it: combining marks, a joiner with the character it
// joins, and Hangul vowels and finals, which compose with the syllable before them.
bool continuesCharacter(char32_t c)
{
    if (c < 0x300)
        return false;
    if (c == 0x200D || (c >= 0x1160 && c <= 0x11FF) || (c >= 0xD7B0 && c <= 0xD7FF))
        return true;
    const QChar::Category k = QChar::category(c);
    return k == QChar::Mark_NonSpacing || k == QChar::Mark_SpacingCombining || k == QChar::Mark_Enclosing;
}

// Where the character that starts at i ends, with everything that belongs to it; a flood of marks
// is taken a few dozen at a time.
qsizetype characterEnd(const QString &text, qsizetype i)
{
    constexpr qsizetype MostUnits = 32;
    const qsizetype start = i;
    qsizetype length = 1;
    codeAt(text, i, &length);
    i += length;
    while (i < text.size() && i - start < MostUnits) {
        const char32_t c = codeAt(text, i, &length);
        if (!continuesCharacter(c))
            break;
        i += length;
        if (c == 0x200D && i < text.size()) {
            codeAt(text, i, &length);
            i += length;
        }
    }
    return i;
}

// Looks up each distinct character of a long text once, in pieces: a value of a million repeated
// characters costs a pass over it, and one of many characters no font has stops once the report
// has more than it names. A short text is looked up as it stands.
class UndrawableScan
{
public:
    explicit UndrawableScan(const FontDescriptor &font) : m_font(FontResolver::font(font)) {}

    void scan(const QString &text)
    {
        if (text.size() <= PieceUnits) {
            lookUp(text);
            return;
        }
        QStringView last;
        for (qsizetype i = 0; i < text.size() && !found.more;) {
            // Below the combining marks a code unit is a character by itself: the common case, kept
            // to a table lookup, and a run of one such unit to a comparison each.
            const char16_t unit = text.at(i).unicode();
            const auto simple = [&text](qsizetype at) {
                return text.at(at).unicode() < 0x300 &&
                       (at + 1 == text.size() || text.at(at + 1).unicode() < 0x300);
            };
            if (simple(i)) {
                if (isNewUnit(unit))
                    addToPiece(QStringView(text).mid(i, 1));
                while (++i < text.size() && text.at(i).unicode() == unit && simple(i)) {
                }
                last = {};
                continue;
            }
            const qsizetype end = characterEnd(text, i);
            const QStringView character = QStringView(text).mid(i, end - i);
            if (character != last && isNew(character))
                addToPiece(character);
            last = character;
            i = end;
        }
        lookUp(m_piece);
    }

    OutputProblems::Undrawable found;

private:
    static constexpr qsizetype PieceUnits = 512;

    bool isNewUnit(char16_t unit)
    {
        if (m_seenUnits.empty())
            m_seenUnits.resize(0x10000);
        const bool seen = m_seenUnits[unit];
        m_seenUnits[unit] = true;
        return !seen;
    }

    bool isNew(QStringView character)
    {
        if (character.size() == 1)
            return isNewUnit(character.at(0).unicode());
        if (character.size() == 2 && character.at(0).isHighSurrogate())
            return m_seenCodes.insert(QChar::surrogateToUcs4(character.at(0), character.at(1))).second;
        return m_seen.insert(character.toString()).second;
    }

    void addToPiece(QStringView character)
    {
        m_piece.append(character);
        if (m_piece.size() >= PieceUnits) {
            lookUp(m_piece);
            m_piece.clear();
        }
    }

    void lookUp(const QString &piece)
    {
        if (piece.isEmpty() || found.more)
            return;
        const QString missing = FontCoverage::undrawableCharacters(piece, m_font);
        OutputProblems::Undrawable more;
        for (qsizetype i = 0, length = 1; i < missing.size(); i += length) {
            codeAt(missing, i, &length);
            more.characters.append(missing.mid(i, length));
        }
        found.add(more);
    }

    QFont m_font;
    QString m_piece;
    std::vector<bool> m_seenUnits; // made for a long text only
    std::unordered_set<char32_t> m_seenCodes;
    std::unordered_set<QString> m_seen;
};
} // namespace

const std::vector<Kind> &kinds()
{
    static const std::vector<Kind> all{textProblem, barcodeProblem, pictureProblem, hiddenTextProblem};
    return all;
}

QString barcodeName(const SKTGraphic &barcode, const QString *value)
{
    const QString own =
        (barcode.linear_or_2d != 0 ? barcode.two_d_font_val : barcode.linear_font_val).value_or(QString());
    QString words = (value ? *value : own).simplified();
    if (words.size() > 24)
        words = words.left(23) + QChar(0x2026);
    const QString type = BarcodeSettings::titleForIndex(barcode.linear_or_2d, barcode.barcode_font_index);
    return words.isEmpty() ? QStringLiteral("barcode (%1)").arg(type)
                           : QStringLiteral("barcode \"%1\" (%2)").arg(words, type);
}

void Undrawable::add(const Undrawable &other)
{
    more = more || other.more;
    for (const QString &c : other.characters) {
        if (characters.contains(c))
            continue;
        if (characters.size() == Named) {
            more = true;
            break;
        }
        characters.append(c);
    }
}

Undrawable undrawable(const Shown &shown)
{
    const SKTGraphic &g = shown.object;
    if (g.kind() == SKTGraphic::Kind::Text) {
        const auto &text = static_cast<const SKTText &>(g);
        UndrawableScan scan(text.drawnFont());
        scan.scan(text.drawnCharacters(shown.value ? *shown.value : text.textContentsForDrawing().text));
        return scan.found;
    }
    if (g.kind() != SKTGraphic::Kind::Barcode)
        return {};
    // The header and footer are the object's own, drawn in their fonts; the value is encoded.
    const BarcodeSettings settings = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(g);
    Undrawable found;
    const auto look = [&found](bool shows, const std::optional<QString> &text, const FontDescriptor &font) {
        if (!shows || !text || text->isEmpty() || found.more)
            return;
        UndrawableScan scan(font);
        scan.scan(*text);
        found.add(scan.found);
    };
    look(settings.show_hide_hdr != 1, g.header_val, settings.header_font);
    look(settings.show_hide_ftr != 1, g.footer_val, settings.footer_font);
    return found;
}

QString undrawableProblem(const SKTGraphic &object, const Undrawable &found)
{
    QStringList named;
    for (const QString &c : found.characters)
        named << QStringLiteral("%1 (U+%2)")
                     .arg(c, QString::number(c.toUcs4().value(0), 16)
                                 .toUpper()
                                 .rightJustified(4, QLatin1Char('0')));
    const QString where =
        object.kind() == SKTGraphic::Kind::Barcode ? QStringLiteral(" in its header or footer") : QString();
    return QStringLiteral("has characters no font here can draw%1: %2%3.")
        .arg(where, named.join(QStringLiteral(", ")), found.more ? QStringLiteral(" and more") : QString());
}

} // namespace OutputProblems
