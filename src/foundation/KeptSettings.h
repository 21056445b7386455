// The small settings files the output windows keep beside the preferences: a value read back counts
// only when the window still offers it, so a file edited by hand or left by another version gives
// the window's defaults instead of a choice it cannot show.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace KeptSettings
{
// The value kept under key when it is one of offered, else the fallback.
QString oneOf(const QSettings &settings, const QString &key, const QStringList &offered,
              const QString &fallback);
// A card side code ("F", "B" or "BOTH") kept under key, else the fallback.
QString side(const QSettings &settings, const QString &key, const QString &fallback);
// A number kept under key within [low, high], else the fallback.
double number(const QSettings &settings, const QString &key, double low, double high, double fallback);
// Writes what was set; false when the file could not be written.
bool written(QSettings &settings);
} // namespace KeptSettings
