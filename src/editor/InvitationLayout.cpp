#include "editor/InvitationLayout.h"

#include "foundation/StringUtils.h"
#include "model/Card_Property.h"
#include "model/ModelGlobals.h"
#include "model/SKTText.h"
#include "platform/FontDescriptor.h"

#include <algorithm>

namespace
{
const QString invitationTitleFont = QStringLiteral("TimesNewRomanPS-BoldItalicMT");
constexpr double invitationTitleSize = 18.0;
// The smallest share of the full size that margins, gaps and fonts shrink to (14 pt to 2.8 pt).
constexpr double invitationSmallestScale = 0.2;

// One text of the stack at full size: its left edge, the least height of its frame and the room
// below it before the next. A stretch without an identifier is room alone.
struct InvitationEntry {
    const char *id;
    QString text;
    double left;
    double height;
    double below;
};

QList<InvitationEntry> invitationEntries(const InvitationDetails &details)
{
    const QString title = Trim_Str(details.title), to = Trim_Str(details.to),
                  message = Trim_Str(details.message), date = Trim_Str(details.date),
                  time = Trim_Str(details.time), venue = Trim_Str(details.venue),
                  from = Trim_Str(details.from);
    QList<InvitationEntry> entries;
    if (!title.isEmpty())
        entries.push_back({"PARTY_TITLE", title, 40, 30, 20});
    if (!to.isEmpty())
        entries.push_back({"PARTY_TO", InvitationLayout::addresseeLine(to), 30, 20, 10});
    if (!message.isEmpty())
        entries.push_back({"PARTY_MSG", message, 50, 80, 0});
    if (!date.isEmpty())
        entries.push_back(
            {"PARTY_DATE", time.isEmpty() ? date : date + QStringLiteral(" at ") + time, 30, 20, 10});
    else if (!time.isEmpty())
        entries.push_back({"PARTY_TIME", QStringLiteral("AT ") + time, 30, 20, 40});
    else
        entries.push_back({nullptr, {}, 0, 0, 30});
    if (!venue.isEmpty())
        entries.push_back({"PARTY_VENUE", QStringLiteral("Venue:\n") + venue, 30, 60, 10});
    else
        entries.push_back({nullptr, {}, 0, 0, 20});
    if (!from.isEmpty())
        entries.push_back({"PARTY_FROM", QStringLiteral("From:\n") + from, 40, 40, 0});
    return entries;
}

// The stack at `scale` of the full size; *fits tells whether its last frame ends on the card.
QList<InvitationItem> invitationStackAt(const QList<InvitationEntry> &entries, const QSizeF &card,
                                        double scale, bool *fits)
{
    // The width is kept in single precision, as the wizard's layout always was.
    const double width = double(float(card.width()) - float(80 * scale));
    double y = 40 * scale, bottom = 0;
    QList<InvitationItem> items;
    for (const InvitationEntry &e : entries) {
        if (!e.id) {
            y += e.below * scale;
            continue;
        }
        const bool title = qstrcmp(e.id, "PARTY_TITLE") == 0;
        const FontDescriptor font = title ? FontDescriptor{invitationTitleFont, invitationTitleSize * scale}
                                          : FontDescriptor{ModelGlobals::defaultTextFont().postScriptName,
                                                           ModelGlobals::defaultTextFont().size * scale};
        const double height = std::max(e.height * scale, SKTText::heightAsDrawn(e.text, font, width));
        InvitationItem item{QString::fromLatin1(e.id), e.text, QRectF(e.left * scale, y, width, height), {}};
        if (scale < 1)
            item.font = font;
        items.push_back(item);
        bottom = y + height;
        y = bottom + e.below * scale;
    }
    *fits = bottom <= card.height();
    return items;
}

} // namespace

QString InvitationLayout::addresseeLine(const QString &addressee)
{
    static const QString dear = QStringLiteral("Dear ");
    QString line = addressee;
    if (!line.startsWith(dear, Qt::CaseInsensitive))
        line.prepend(dear);
    if (!line.endsWith(QLatin1Char(',')))
        line += QLatin1Char(',');
    return line;
}

QList<InvitationItem> InvitationLayout::Fill_Party_Invidation_Details(const InvitationDetails &details,
                                                                      const QSizeF &card)
{
    const QList<InvitationEntry> entries = invitationEntries(details);
    bool fits = false;
    QList<InvitationItem> items = invitationStackAt(entries, card, 1.0, &fits);
    if (fits)
        return items;
    // The largest scale at which the stack ends on the card; the smallest when none does.
    items = invitationStackAt(entries, card, invitationSmallestScale, &fits);
    double low = invitationSmallestScale, high = 1.0;
    for (int step = 0; fits && step < 16; ++step) {
        const double mid = (low + high) / 2;
        bool midFits = false;
        QList<InvitationItem> candidate = invitationStackAt(entries, card, mid, &midFits);
        if (midFits) {
            low = mid;
            items = std::move(candidate);
        } else {
            high = mid;
        }
    }
    return items;
}

void InvitationLayout::applyTextLook(SKTGraphic &text, const QString &value, const QString &ctrl_ID)
{
    if (value.isEmpty())
        return;
    text.Text_Value = value;
    text._isDrawingStroke = false;
    text._isDrawingFill = false;
    if (!ctrl_ID.contains(QLatin1String("PARTY_")))
        return;
    static const QStringList centred = {QStringLiteral("PARTY_TITLE"), QStringLiteral("PARTY_DATE"),
                                        QStringLiteral("PARTY_TIME"), QStringLiteral("PARTY_VENUE"),
                                        QStringLiteral("PARTY_MARRINGE_INFO")};
    if (centred.contains(ctrl_ID))
        text.text_alignmnet = AlignCentre;
    else if (ctrl_ID == QLatin1String("PARTY_FROM"))
        text.text_alignmnet = AlignRight;
    if (ctrl_ID == QLatin1String("PARTY_TITLE") || ctrl_ID == QLatin1String("PARTY_MARRINGE_INFO"))
        text.text_ctrl_font = FontDescriptor{invitationTitleFont, invitationTitleSize};
}

GraphicList InvitationLayout::makeObjects(const InvitationDetails &details, const QSizeF &card)
{
    GraphicList objects;
    for (const InvitationItem &item : Fill_Party_Invidation_Details(details, card)) {
        GraphicPtr text = SKTGraphic::create(SKTGraphic::Kind::Text);
        text->setBounds(item.frame);
        text->control_ID = item.id;
        applyTextLook(*text, item.text, item.id);
        if (item.font)
            text->text_ctrl_font = item.font;
        objects.prepend(text);
    }
    return objects;
}

void InvitationLayout::apply(const InvitationDetails &details, CardDesign &design)
{
    design.front = makeObjects(details, design.cardSize()) + design.front;
    design.frontPage.setBackgroundImage(Trim_Str(details.background));
}
