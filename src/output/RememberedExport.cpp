#include "output/RememberedExport.h"

#include "foundation/KeptSettings.h"
#include "foundation/Preferences.h"

QString RememberedExport::settingsPath()
{
    return Preferences::sharedInstance().besidePath(QStringLiteral("export.ini"));
}

RememberedExport RememberedExport::load()
{
    RememberedExport kept;
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    kept.dpi =
        KeptSettings::oneOf(settings, QStringLiteral("Export/dpi"), Resolutions, QString::number(kept.dpi))
            .toInt();
    kept.fileType = KeptSettings::oneOf(settings, QStringLiteral("Export/type"), FileTypes, kept.fileType);
    kept.side = KeptSettings::side(settings, QStringLiteral("Export/side"), kept.side);
    kept.combined = settings.value(QStringLiteral("Export/combined")).toBool();
    return kept;
}

bool RememberedExport::save() const
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Export/dpi"), dpi);
    settings.setValue(QStringLiteral("Export/type"), fileType);
    settings.setValue(QStringLiteral("Export/side"), side);
    settings.setValue(QStringLiteral("Export/combined"), combined);
    return KeptSettings::written(settings);
}
