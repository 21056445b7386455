#include "output/RememberedExport.h"

#include "foundation/Preferences.h"

#include <QSettings>

QString RememberedExport::settingsPath()
{
    return Preferences::sharedInstance().besidePath(QStringLiteral("export.ini"));
}

RememberedExport RememberedExport::load()
{
    RememberedExport kept;
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    const QString dpi = settings.value(QStringLiteral("Export/dpi")).toString();
    if (Resolutions.contains(dpi))
        kept.dpi = dpi.toInt();
    const QString type = settings.value(QStringLiteral("Export/type")).toString();
    if (FileTypes.contains(type))
        kept.fileType = type;
    const QString side = settings.value(QStringLiteral("Export/side")).toString();
    if (side == SideCode::Front || side == SideCode::Back || side == SideCode::Both)
        kept.side = side;
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
    settings.sync();
    return settings.status() == QSettings::NoError;
}
