#include "foundation/ui/ChooserPanels.h"

#include <QColorDialog>
#include <QFontDialog>

namespace
{
ChooserPanels *g_installedChoosers = nullptr;
}

std::optional<QColor> ChooserPanels::color(QWidget *parent, const QColor &initial, bool withAlpha)
{
    QColorDialog::ColorDialogOptions options = QColorDialog::DontUseNativeDialog;
    if (withAlpha)
        options |= QColorDialog::ShowAlphaChannel;
    const QColor chosen = QColorDialog::getColor(initial, parent, QString(), options);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QFont> ChooserPanels::font(QWidget *parent, const QFont &initial)
{
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, initial, parent, QString(), QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    return chosen;
}

ChooserPanels &ChooserPanels::instance()
{
    static ChooserPanels real;
    return g_installedChoosers ? *g_installedChoosers : real;
}

void ChooserPanels::install(ChooserPanels *panels)
{
    g_installedChoosers = panels;
}

void ChooserPanels::uninstall(ChooserPanels *panels)
{
    if (g_installedChoosers == panels)
        g_installedChoosers = nullptr;
}
