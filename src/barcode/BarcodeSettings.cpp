#include "barcode/BarcodeSettings.h"

#include "barcode/DataMatrixEncoder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace
{

bool parseInt(const QString &text, int *out)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok)
        *out = v;
    return ok;
}

bool parseReal(const QString &text, double *out)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok && std::isfinite(v))
        *out = v;
    return ok && std::isfinite(v);
}

bool parseFont(const QString &text, FontDescriptor *out)
{
    const QString t = text.trimmed();
    const int space = t.lastIndexOf(QLatin1Char(' '));
    if (space <= 0)
        return false;
    double size = 0;
    if (!parseReal(t.mid(space + 1), &size) || size <= 0 || size > 1000)
        return false;
    *out = FontDescriptor{t.left(space).trimmed(), size};
    return true;
}

bool parseColor(const QString &text, QColor *out)
{
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('#'))) {
        const QColor c = QColor::fromString(t);
        if (!c.isValid())
            return false;
        *out = c;
        return true;
    }
    const QStringList parts = t.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3 && parts.size() != 4)
        return false;
    double v[4] = {0, 0, 0, 1};
    for (int i = 0; i < parts.size(); ++i) {
        if (!parseReal(parts[i], &v[i]))
            return false;
        v[i] = std::clamp(v[i], 0.0, 1.0);
    }
    *out = QColor::fromRgbF(float(v[0]), float(v[1]), float(v[2]), float(v[3]));
    return true;
}

using Setter = std::function<bool(BarcodeSettings &, const QString &)>;

Setter intField(int BarcodeSettings::*field)
{
    return [field](BarcodeSettings &s, const QString &v) { return parseInt(v, &(s.*field)); };
}

Setter realField(double BarcodeSettings::*field)
{
    return [field](BarcodeSettings &s, const QString &v) { return parseReal(v, &(s.*field)); };
}

Setter fontField(FontDescriptor BarcodeSettings::*field)
{
    return [field](BarcodeSettings &s, const QString &v) { return parseFont(v, &(s.*field)); };
}

Setter colorField(QColor BarcodeSettings::*field)
{
    return [field](BarcodeSettings &s, const QString &v) { return parseColor(v, &(s.*field)); };
}

const std::map<QString, Setter> &setters()
{
    static const std::map<QString, Setter> table = {
        {QStringLiteral("linear_or_2d"),
         [](BarcodeSettings &s, const QString &v) {
             int kind = 0;
             if (!parseInt(v, &kind))
                 return false;
             // Keep the list position when the kind changes, as the window's pop-up does.
             const QStringList &from =
                 s.isTwoD() ? BarcodeSettings::twoDTitles() : BarcodeSettings::linearTitles();
             const int position = std::max<int>(0, from.indexOf(s.symbologyTitle));
             const QString title = BarcodeSettings::titleForIndex(kind, position);
             s.linear_or_2d = kind;
             s.symbologyTitle = title.isEmpty() ? BarcodeSettings::titleForIndex(kind, 0) : title;
             return true;
         }},
        {QStringLiteral("barcode_font_index"),
         [](BarcodeSettings &s, const QString &v) {
             int index = 0;
             if (!parseInt(v, &index))
                 return false;
             const QString title = BarcodeSettings::titleForIndex(s.linear_or_2d, index);
             if (title.isEmpty())
                 return false;
             s.symbologyTitle = title;
             return true;
         }},
        {QStringLiteral("show_hide_hdr"), intField(&BarcodeSettings::show_hide_hdr)},
        {QStringLiteral("show_hide_ftr"), intField(&BarcodeSettings::show_hide_ftr)},
        {QStringLiteral("show_hide_val"), intField(&BarcodeSettings::show_hide_val)},
        {QStringLiteral("show_val_on_top"), intField(&BarcodeSettings::show_val_on_top)},
        {QStringLiteral("kerning_value"), intField(&BarcodeSettings::kerning_value)},
        {QStringLiteral("align_hdr_index"), intField(&BarcodeSettings::align_hdr_index)},
        {QStringLiteral("align_ftr_index"), intField(&BarcodeSettings::align_ftr_index)},
        {QStringLiteral("linear_height_val"), realField(&BarcodeSettings::linear_height_val)},
        {QStringLiteral("linear_width_val"), realField(&BarcodeSettings::linear_width_val)},
        {QStringLiteral("qr_size_val"), intField(&BarcodeSettings::qr_size_val)},
        {QStringLiteral("qr_version_index"), intField(&BarcodeSettings::qr_version_index)},
        {QStringLiteral("qr_ec_index"), intField(&BarcodeSettings::qr_ec_index)},
        {QStringLiteral("pdf_hgt_val"), intField(&BarcodeSettings::pdf_hgt_val)},
        {QStringLiteral("pdf_wdt_val"), intField(&BarcodeSettings::pdf_wdt_val)},
        {QStringLiteral("pdf_ec_val"), intField(&BarcodeSettings::pdf_ec_val)},
        {QStringLiteral("dm_module_val"), intField(&BarcodeSettings::dm_module_val)},
        {QStringLiteral("dm_format_index"), intField(&BarcodeSettings::dm_format_index)},
        {QStringLiteral("dm_encoding_index"), intField(&BarcodeSettings::dm_encoding_index)},
        {QStringLiteral("hdr_margin_val"), realField(&BarcodeSettings::hdr_margin_val)},
        {QStringLiteral("ftr_margin_val"), realField(&BarcodeSettings::ftr_margin_val)},
        {QStringLiteral("val_margin_val"), realField(&BarcodeSettings::val_margin_val)},
        {QStringLiteral("TB_marging_val"), realField(&BarcodeSettings::TB_marging_val)},
        {QStringLiteral("LR_margin_val"), realField(&BarcodeSettings::LR_margin_val)},
        {QStringLiteral("value_font_val"), fontField(&BarcodeSettings::value_font)},
        {QStringLiteral("header_font_val"), fontField(&BarcodeSettings::header_font)},
        {QStringLiteral("footer_font_val"), fontField(&BarcodeSettings::footer_font)},
        {QStringLiteral("barcode_hdr_clr_val"), colorField(&BarcodeSettings::barcode_hdr_clr)},
        {QStringLiteral("barcode_ftr_clr_val"), colorField(&BarcodeSettings::barcode_ftr_clr)},
        {QStringLiteral("barcode_val_clr_val"), colorField(&BarcodeSettings::barcode_val_clr)},
        {QStringLiteral("barcode_back_clr_val"), colorField(&BarcodeSettings::barcode_back_clr)},
        {QStringLiteral("barcode_clr_val"), colorField(&BarcodeSettings::barcode_clr)},
        {QStringLiteral("dpi_val_index"),
         [](BarcodeSettings &s, const QString &v) {
             int index = 0;
             if (!parseInt(v, &index) || index < 0 || index >= BarcodeSettings::dpiChoices().size())
                 return false;
             s.dpi_val_index = index;
             s.dpi = BarcodeSettings::dpiForChoice(index, s.dpi_custom_val);
             return true;
         }},
        {QStringLiteral("dpi_custom_val"),
         [](BarcodeSettings &s, const QString &v) {
             s.dpi_custom_val = v;
             s.dpi = BarcodeSettings::dpiForChoice(s.dpi_val_index, s.dpi_custom_val);
             return true;
         }},
        // Stored with the object but read by nothing: the unit is centimetres at every load.
        {QStringLiteral("barcode_unit_val"),
         [](BarcodeSettings &, const QString &v) {
             int unused = 0;
             return parseInt(v, &unused);
         }},
    };
    return table;
}

} // namespace

bool BarcodeSettings::applyRecordField(const QString &key, const QString &value, QString *error)
{
    const auto &table = setters();
    const auto it = table.find(key);
    if (it == table.end()) {
        if (error)
            *error = QStringLiteral("unknown barcode setting \"%1\"").arg(key);
        return false;
    }
    BarcodeSettings changed = *this;
    if (!it->second(changed, value)) {
        if (error)
            *error = QStringLiteral("bad value \"%1\" for barcode setting \"%2\"").arg(value, key);
        return false;
    }
    *this = changed;
    return true;
}

QStringList BarcodeSettings::recordFieldKeys()
{
    QStringList keys;
    for (const auto &[key, setter] : setters())
        keys << key;
    return keys;
}

const QStringList &BarcodeSettings::linearTitles()
{
    static const QStringList titles = {
        QStringLiteral("Code 39"),
        QStringLiteral("Extended Code 39"),
        QStringLiteral("Interleaved 2 of 5"),
        QStringLiteral("UPCA"),
        QStringLiteral("PostNet"),
        QStringLiteral("Modified Plessey"),
        QStringLiteral("Modified Plessey (Hex)"),
        QStringLiteral("Industrial 2 of 5"),
        QStringLiteral("EAN-13"),
        QStringLiteral("Code 128"),
        QStringLiteral("Code 128 SET A"),
        QStringLiteral("Code 128 SET B"),
        QStringLiteral("Code 128 SET C"),
        QStringLiteral("Codabar"),
        QStringLiteral("UPCE"),
        QStringLiteral("EAN-8"),
        QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"),
        QStringLiteral("Planet"),
        QStringLiteral("Japan Post Barcode"),
    };
    return titles;
}

const QStringList &BarcodeSettings::twoDTitles()
{
    static const QStringList titles = {QStringLiteral("QR Code"), QStringLiteral("PDF417"),
                                       QStringLiteral("DataMatrix")};
    return titles;
}

QString BarcodeSettings::titleForIndex(int linear_or_2d, int barcode_font_index)
{
    const QStringList &titles = linear_or_2d == 0 ? linearTitles() : twoDTitles();
    if (barcode_font_index < 0 || barcode_font_index >= titles.size())
        return {};
    return titles.at(barcode_font_index);
}

bool BarcodeSettings::isTwoDTitle(const QString &title)
{
    return twoDTitles().contains(title);
}

const QStringList &BarcodeSettings::alignmentTitles()
{
    static const QStringList titles = {QStringLiteral("Left"), QStringLiteral("Center"),
                                       QStringLiteral("Right")};
    return titles;
}

const QStringList &BarcodeSettings::dpiChoices()
{
    static const QStringList choices = {
        QStringLiteral("Auto"), QStringLiteral("72"),   QStringLiteral("150"),   QStringLiteral("300"),
        QStringLiteral("600"),  QStringLiteral("1200"), QStringLiteral("Custom")};
    return choices;
}

const QStringList &BarcodeSettings::dataMatrixFormats()
{
    // The encoder owns the list of sizes it can make; the settings offer the same choices.
    static const QStringList formats = DataMatrixEncoder::formats();
    return formats;
}

const QStringList &BarcodeSettings::dataMatrixEncodings()
{
    static const QStringList encodings = {QStringLiteral("Auto"), QStringLiteral("Ascii"),
                                          QStringLiteral("C40"), QStringLiteral("Text"),
                                          QStringLiteral("Base256")};
    return encodings;
}

int BarcodeSettings::dpiForChoice(int index, const QString &custom)
{
    const QStringList &choices = dpiChoices();
    if (index < 0 || index >= choices.size() || index == 0)
        return 600;
    if (choices.at(index) == QLatin1String("Custom")) {
        int v = 0;
        // An unusable custom entry keeps the automatic resolution.
        if (!parseInt(custom, &v) || v < 1 || v > 4800)
            return 600;
        return v;
    }
    return choices.at(index).toInt();
}
