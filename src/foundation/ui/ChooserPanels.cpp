#include "foundation/ui/ChooserPanels.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLineEdit>

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

void ChooserPanels::prepareFontDialog(QFontDialog &dialog)
{
    dialog.setOption(QFontDialog::DontUseNativeDialog, true);
    // Qt's dialog has no option for this: its effects box is the one holding check boxes.
    for (QGroupBox *box : dialog.findChildren<QGroupBox *>()) {
        if (!box->findChildren<QCheckBox *>().isEmpty())
            box->hide();
        // The sample shared its row with the effects: without them the row would leave the
        // sample no room to show its words.
        else if (const auto *sample = box->findChild<QLineEdit *>())
            box->setMinimumHeight(sample->sizeHint().height() * 3);
    }
}

std::optional<QFont> ChooserPanels::font(QWidget *parent, const QFont &initial)
{
    QFont plain = initial;
    plain.setUnderline(false);
    plain.setStrikeOut(false);
    QFontDialog dialog(plain, parent);
    prepareFontDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
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
