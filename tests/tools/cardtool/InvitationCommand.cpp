// cardtool invitation: writes the design the start wizard leaves for an invitation: the texts
// stacked down the front of a card of the given size, and the background picture.
#include "Command.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "editor/InvitationLayout.h"
#include "platform/Picture.h"
#include "platform/PictureReader.h"

CARDTOOL_COMMAND(invitationCommand, "invitation",
                 "--size W,H [--title T] [--to A] [--message M] [--date D] [--time T] [--venue V] "
                 "[--from S] [--background FILE] --out OUT.dcard")
{
    QStringList rest = args;
    QString sizeText, out;
    InvitationDetails details;
    const bool haveSize = cardtool::takeOption(rest, QStringLiteral("--size"), &sizeText);
    const bool haveOut = cardtool::takeOption(rest, QStringLiteral("--out"), &out);
    cardtool::takeOption(rest, QStringLiteral("--title"), &details.title);
    cardtool::takeOption(rest, QStringLiteral("--to"), &details.to);
    cardtool::takeOption(rest, QStringLiteral("--message"), &details.message);
    cardtool::takeOption(rest, QStringLiteral("--date"), &details.date);
    cardtool::takeOption(rest, QStringLiteral("--time"), &details.time);
    cardtool::takeOption(rest, QStringLiteral("--venue"), &details.venue);
    cardtool::takeOption(rest, QStringLiteral("--from"), &details.from);
    cardtool::takeOption(rest, QStringLiteral("--background"), &details.background);
    if (!rest.isEmpty()) {
        cardtool::fail(QStringLiteral("invitation: unexpected argument ") + rest.first());
        return 1;
    }
    if (!haveSize || !haveOut) {
        cardtool::fail(QStringLiteral("invitation: --size W,H and --out FILE are required"));
        return 1;
    }
    const QStringList parts = sizeText.split(QLatin1Char(','));
    bool okW = false, okH = false;
    const double w = parts.size() == 2 ? parts.at(0).trimmed().toDouble(&okW) : 0;
    const double h = parts.size() == 2 ? parts.at(1).trimmed().toDouble(&okH) : 0;
    // The layout needs 80 points of width for its margins; larger than a poster is no card.
    if (!okW || !okH || !(w > 80) || !(h > 0) || w > 10000 || h > 10000) {
        cardtool::fail(QStringLiteral("invitation: --size must be W,H in points, W from 80 to 10000 and "
                                      "H from 0 to 10000"));
        return 1;
    }
    // The picture is checked as the program checks a picture a user picks: a FIFO, a device, an
    // oversized file or a picture beyond the budget is refused, never waited on.
    if (!details.background.isEmpty()) {
        if (const QString why = PictureReader::probe(details.background); !why.isEmpty()) {
            cardtool::fail(
                QStringLiteral("invitation: cannot use the picture %1: %2").arg(details.background, why));
            return 1;
        }
    }

    CardDesign design;
    design.resetPages();
    design.setCardSize(QSizeF(w, h));
    GraphicList &objects = design.front;
    InvitationLayout::apply(details, design);
    if (!details.background.isEmpty() && !design.frontPage.Card_BG_Image) {
        cardtool::fail(QStringLiteral("invitation: cannot read the picture ") + details.background);
        return 1;
    }
    const plist::Array items = DesignFileFormat::buildItems(design);
    QString error;
    if (!DesignFile::writeItems(out, items, &error)) {
        cardtool::fail(QStringLiteral("invitation: ") + error);
        return 1;
    }
    return cardtool::writeStdout(QStringLiteral("%1 texts\n").arg(objects.size()).toUtf8()) ? 0 : 1;
}
