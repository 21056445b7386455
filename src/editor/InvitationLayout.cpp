#include "editor/InvitationLayout.h"

#include "foundation/StringUtils.h"
#include "panels/Card_Property.h"
#include "platform/FontDescriptor.h"

QList<InvitationItem> InvitationLayout::Fill_Party_Invidation_Details(const InvitationDetails &details,
                                                                      double cardWidth)
{
    const QString title = Trim_Str(details.title), to = Trim_Str(details.to),
                  message = Trim_Str(details.message), date = Trim_Str(details.date),
                  time = Trim_Str(details.time), venue = Trim_Str(details.venue),
                  from = Trim_Str(details.from);

    // The running values are kept in single precision, as the wizard's layout always was.
    const float W = float(cardWidth);
    const float w = W - 80;
    const float xc = (W - w) / 2;
    float y = 40;
    QList<InvitationItem> items;
    auto add = [&](const char *id, const QString &text, float x, float height) {
        items.push_back({QString::fromLatin1(id), text, QRectF(x, y, w, height)});
    };

    if (!title.isEmpty()) {
        add("PARTY_TITLE", title, xc, 30);
        y += 50;
    }
    const float x = 30;
    if (!to.isEmpty()) {
        add("PARTY_TO", QStringLiteral("Dear ") + to + QLatin1Char(','), x, 20);
        y += 30;
    }
    if (!message.isEmpty()) {
        add("PARTY_MSG", message, x + 20, 80);
        y += 80;
    }
    if (!date.isEmpty()) {
        add("PARTY_DATE", time.isEmpty() ? date : date + QStringLiteral(" at ") + time, x, 20);
        y += 30;
    } else if (!time.isEmpty()) {
        add("PARTY_TIME", QStringLiteral("AT ") + time, x, 20);
        y += 60;
    } else {
        y += 30;
    }
    if (!venue.isEmpty()) {
        add("PARTY_VENUE", QStringLiteral("Venue:\n") + venue, x, 60);
        y += 70;
    } else {
        y += 20;
    }
    if (!from.isEmpty())
        add("PARTY_FROM", QStringLiteral("From:\n") + from, xc, 40);
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
        text.text_ctrl_font = FontDescriptor{QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18.0};
}

GraphicList InvitationLayout::makeObjects(const InvitationDetails &details, double cardWidth)
{
    GraphicList objects;
    for (const InvitationItem &item : Fill_Party_Invidation_Details(details, cardWidth)) {
        GraphicPtr text = SKTGraphic::create(SKTGraphic::Kind::Text);
        text->setBounds(item.frame);
        text->control_ID = item.id;
        applyTextLook(*text, item.text, item.id);
        objects.prepend(text);
    }
    return objects;
}

void InvitationLayout::apply(const InvitationDetails &details, Card_Property &frontPage, GraphicList &front)
{
    front = makeObjects(details, frontPage.Card_Size.width()) + front;
    frontPage.setBackgroundImage(Trim_Str(details.background));
}
