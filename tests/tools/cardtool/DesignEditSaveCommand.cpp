// cardtool design-edit-save: opens a design as the editor does, gives the card another width and
// saves it where it was opened, as a second instance of the program would. A file saved there by
// another meanwhile is replaced only with --replace-changed; prints "saved", "kept theirs" or the
// failure.
#include "Command.h"
#include "DesignLoading.h"

#include "editor/DesignFile.h"
#include "model/SKTDocument.h"

CARDTOOL_COMMAND(designEditSave, "design-edit-save", "DESIGN.dcard WIDTH [--replace-changed]")
{
    QStringList rest = args;
    const bool replace = cardtool::takeFlag(rest, QStringLiteral("--replace-changed"));
    bool number = false;
    const double width = rest.size() == 2 ? rest.at(1).toDouble(&number) : 0;
    if (!number) {
        cardtool::fail(QStringLiteral("design-edit-save needs a design and a card width"));
        return 1;
    }
    SKTDocument document;
    DesignFile file(document, nullptr);
    if (!cardtool::openToSave(file, rest.at(0)))
        return 1;
    document.changeSettingsRecorded(QStringLiteral("Card Size"), SKTDocument::Front, [&](DesignSettings &s) {
        s.setCardSize(QSizeF(width, document.design().cardSize().height()));
    });
    int asked = 0;
    const DesignResult saved = file.Save_project_file(false, true, [&](const QString &) {
        ++asked;
        return replace;
    });
    if (saved.cancelled()) {
        cardtool::writeStdout(QStringLiteral("kept theirs after %1 question(s)\n").arg(asked).toUtf8());
        return 0;
    }
    if (!saved.ok()) {
        cardtool::fail(saved.message);
        return 1;
    }
    cardtool::writeStdout(
        QStringLiteral("saved after %1 question(s): %2\n").arg(asked).arg(saved.message).toUtf8());
    return 0;
}
