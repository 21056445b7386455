// The language a workbook's locale tag names: "[$-C0A]" in a format code carries a Windows locale
// id, or names one ("[$-ja-JP]"), which gives the locale whose day and month names the format
// shows.
#pragma once

#include <QLocale>

#include <optional>

class XlsxLocale
{
public:
    // The locale of a locale id (its low 16 bits: language and sub-language; the calendar and
    // digit bytes above them are left aside); none for an id no language here is known by.
    static std::optional<QLocale> ofLcid(unsigned lcid);
    // The locale of a tag written as a name ("ja-JP", "es-ES"); none for a name no language here
    // is known by.
    static std::optional<QLocale> ofName(QStringView name);
    // The character the locale writes between the day, month and year of a short date ("." in
    // Russian, "-" in Dutch): a "/" of a code under its tag stands for it.
    static QString dateSeparatorOf(const QLocale &locale);
};
