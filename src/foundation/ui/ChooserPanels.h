// The colour and font choosers behind one seam: the program shows Qt's dialogs (colour with
// alpha); tests install a double that answers at once.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QFontDialog;
class QWidget;

class ChooserPanels
{
public:
    virtual ~ChooserPanels() = default;

    // None when the user cancels.
    virtual std::optional<QColor> color(QWidget *parent, const QColor &initial, bool withAlpha = true);
    virtual std::optional<QFont> font(QWidget *parent, const QFont &initial);

    // The font dialog as the program shows it: a card keeps a font's name and size only, so the
    // dialog offers no underline or strikeout that would then be lost.
    static void prepareFontDialog(QFontDialog &dialog);

    static ChooserPanels &instance();
    static void install(ChooserPanels *panels);
    static void uninstall(ChooserPanels *panels);
};
