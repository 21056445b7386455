#include "output/RememberedPrintLayout.h"

#include "foundation/Preferences.h"

#include <QSettings>

namespace
{
// A number kept in range, else the fallback.
double keptNumber(const QSettings &settings, const char *key, double low, double high, double fallback)
{
    bool ok = false;
    const double value = settings.value(QLatin1String(key)).toDouble(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}
} // namespace

QString RememberedPrintLayout::settingsPath()
{
    return Preferences::sharedInstance().besidePath(QStringLiteral("print.ini"));
}

RememberedPrintLayout RememberedPrintLayout::load()
{
    RememberedPrintLayout kept;
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    kept.rows = int(keptNumber(settings, "Print/rows", 1, 999, 1));
    kept.cols = int(keptNumber(settings, "Print/columns", 1, 999, 1));
    kept.horzGapMm = keptNumber(settings, "Print/horizontalGapMm", 0, 1000, 0);
    kept.vertGapMm = keptNumber(settings, "Print/verticalGapMm", 0, 1000, 0);
    const QString side = settings.value(QStringLiteral("Print/side")).toString();
    if (side == SideCode::Front || side == SideCode::Back || side == SideCode::Both)
        kept.side = side;
    const QString arrangement = settings.value(QStringLiteral("Print/arrangement")).toString();
    if (arrangement == ArrangementCode::FrontAboveBack || arrangement == ArrangementCode::FrontLeftOfBack)
        kept.arrangement = arrangement;
    const double width = keptNumber(settings, "Print/paperWidthMm", 10, 5000, 0);
    const double height = keptNumber(settings, "Print/paperHeightMm", 10, 5000, 0);
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
    settings.sync();
    return settings.status() == QSettings::NoError;
}
