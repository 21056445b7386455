// Everything barcode generation reads from the barcode properties window, as one plain value.
// Copied into worker snapshots; generation never reads widgets or process-wide state.
#pragma once

#include "platform/FontDescriptor.h"

#include <QColor>
#include <QString>
#include <QStringList>

struct BarcodeSettings {
    // Symbology: a title of the symbology table, and whether it is a 2D symbol (0 linear, else 2D).
    QString symbologyTitle = QStringLiteral("Code 39");
    int linear_or_2d = 0;

    // Check boxes, stored as integers; ticked (exactly 1) hides the text.
    int show_hide_hdr = 0;
    int show_hide_ftr = 0;
    int show_hide_val = 0;
    int show_val_on_top = 0;
    int kerning_value = 0;         // spread a one-part value text over the bars when exactly 1
    bool captionBoxEnabled = true; // a disabled caption box prints no value text

    int align_hdr_index = 1; // index into alignmentTitles()
    int align_ftr_index = 1;

    // Linear sizes: bar height in the unit, narrow bar width in mils.
    double linear_height_val = 0.6;
    double linear_width_val = 20.0;
    int unit = 1; // 0 inch, 1 centimetre, 2 millimetre

    // Margins in the unit.
    double hdr_margin_val = 0.1;
    double ftr_margin_val = 0.1;
    double val_margin_val = 0.1;
    double TB_marging_val = 0.1;
    double LR_margin_val = 0.1;

    // QR Code: picture side in points, version position (0 automatic), level 0..3 (L, M, Q, H).
    int qr_size_val = 60;
    int qr_version_index = 0;
    int qr_ec_index = 0;

    // PDF417: picture height and width in points, error-correction level, rows and columns.
    int pdf_hgt_val = 20;
    int pdf_wdt_val = 100;
    int pdf_ec_val = 2;
    int pdf_rows = 0;
    int pdf_cols = 3;

    // Data Matrix: module size in points, positions in dataMatrixFormats() / dataMatrixEncodings().
    int dm_module_val = 2;
    int dm_format_index = 0;
    int dm_encoding_index = 0;

    FontDescriptor value_font{QStringLiteral("TimesNewRomanPSMT"), 10.0};
    FontDescriptor header_font{QStringLiteral("TimesNewRomanPSMT"), 10.0};
    FontDescriptor footer_font{QStringLiteral("TimesNewRomanPSMT"), 10.0};

    QColor barcode_hdr_clr = Qt::black;
    QColor barcode_ftr_clr = Qt::black;
    QColor barcode_val_clr = Qt::black;
    QColor barcode_back_clr = Qt::white;
    QColor barcode_clr = Qt::black;

    // Output resolution of 2D pictures in dots per inch, and the resolution choice it came from.
    int dpi_val_index = 0;
    QString dpi_custom_val = QStringLiteral("0");
    int dpi = 600;

    bool isTwoD() const { return linear_or_2d != 0; }

    // Applies one barcode field of a card object record, given as its stored value in text
    // (flags and integers as numbers, fonts as "PostScriptName size", colours as "r g b [a]"
    // with components 0 to 1 or as "#rrggbb"). False, with a reason, for an unknown key or a bad value.
    bool applyRecordField(const QString &key, const QString &value, QString *error = nullptr);
    static QStringList recordFieldKeys();

    // Title of the symbology at a list position: linear positions follow linearTitles(),
    // 2D ones twoDTitles(). Empty when out of range.
    static QString titleForIndex(int linear_or_2d, int barcode_font_index);
    static const QStringList &linearTitles();
    static const QStringList &twoDTitles();
    static bool isTwoDTitle(const QString &title);

    static const QStringList &alignmentTitles();     // "Left", "Center", "Right"
    static const QStringList &dpiChoices();          // "Auto", numbers, "Custom"
    static const QStringList &dataMatrixFormats();   // "Auto", "C10X10", ...
    static const QStringList &dataMatrixEncodings(); // "Auto", "Ascii", "C40", "Text", "Base256"
    // The resolution a choice gives: "Auto" 600, a number itself, "Custom" the custom text.
    static int dpiForChoice(int index, const QString &custom);
};
