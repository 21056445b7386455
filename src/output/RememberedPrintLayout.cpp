#include "output/RememberedPrintLayout.h"

#include "foundation/KeptSettings.h"
#include "foundation/Preferences.h"

QString RememberedPrintLayout::settingsPath()
{
    return Preferences::sharedInstance().besidePath(QStringLiteral("print.ini"));
}

RememberedPrintLayout RememberedPrintLayout::load()
{
    RememberedPrintLayout kept;
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    kept.rows = int(KeptSettings::number(settings, QStringLiteral("Print/rows"), 1, 999, 1));
    kept.cols = int(KeptSettings::number(settings, QStringLiteral("Print/columns"), 1, 999, 1));
    kept.horzGapMm = KeptSettings::number(settings, QStringLiteral("Print/horizontalGapMm"), 0, 1000, 0);
    kept.vertGapMm = KeptSettings::number(settings, QStringLiteral("Print/verticalGapMm"), 0, 1000, 0);
    kept.side = KeptSettings::side(settings, QStringLiteral("Print/side"), kept.side);
    kept.arrangement = KeptSettings::oneOf(
        settings, QStringLiteral("Print/arrangement"),
        {ArrangementCode::FrontAboveBack, ArrangementCode::FrontLeftOfBack}, kept.arrangement);
    const double width = KeptSettings::number(settings, QStringLiteral("Print/paperWidthMm"), 10, 5000, 0);
    const double height = KeptSettings::number(settings, QStringLiteral("Print/paperHeightMm"), 10, 5000, 0);
    if (width > 0 && height > 0)
        kept.paperMm = QSizeF(width, height);
    kept.landscape =
        settings.value(QStringLiteral("Print/orientation")).toString() == QLatin1String("Landscape");
    return kept;
}

bool RememberedPrintLayout::save() const
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Print/rows"), rows);
    settings.setValue(QStringLiteral("Print/columns"), cols);
    settings.setValue(QStringLiteral("Print/horizontalGapMm"), horzGapMm);
    settings.setValue(QStringLiteral("Print/verticalGapMm"), vertGapMm);
    settings.setValue(QStringLiteral("Print/side"), side);
    settings.setValue(QStringLiteral("Print/arrangement"), arrangement);
    if (paperMm) {
        settings.setValue(QStringLiteral("Print/paperWidthMm"), paperMm->width());
        settings.setValue(QStringLiteral("Print/paperHeightMm"), paperMm->height());
    }
    settings.setValue(QStringLiteral("Print/orientation"),
                      landscape ? QStringLiteral("Landscape") : QStringLiteral("Portrait"));
    return KeptSettings::written(settings);
}
