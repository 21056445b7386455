#include "foundation/KeptSettings.h"

#include "foundation/CardCodes.h"

QString KeptSettings::oneOf(const QSettings &settings, const QString &key, const QStringList &offered,
                            const QString &fallback)
{
    const QString value = settings.value(key).toString();
    return offered.contains(value) ? value : fallback;
}

QString KeptSettings::side(const QSettings &settings, const QString &key, const QString &fallback)
{
    return oneOf(settings, key, {SideCode::Front, SideCode::Back, SideCode::Both}, fallback);
}

double KeptSettings::number(const QSettings &settings, const QString &key, double low, double high,
                            double fallback)
{
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

bool KeptSettings::written(QSettings &settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}
