// A linear symbol: content, check character, module string and the geometry its drawing needs.
// Symbologies override the template operations; the base turns them into one module string.
#pragma once

#include "barcode/BarcodeMargins.h"
#include "platform/FontDescriptor.h"

#include <QByteArray>
#include <QString>

class NKDBarcode
{
public:
    NKDBarcode() = default;
    virtual ~NKDBarcode() = default;
    NKDBarcode(const NKDBarcode &) = default;
    NKDBarcode &operator=(const NKDBarcode &) = default;

    // Two-phase creation, so that symbology overrides run: false (no object) for an empty content.
    bool initWithContent(const QString &content) { return initWithContent(content, true); }
    virtual bool initWithContent(const QString &content, bool printsCaption);
    bool initWithContent(const QString &content, bool printsCaption, float barWidth, float height,
                         float fontSize, int checkDigit);

    QString content() const { return m_content; }
    virtual void setContent(const QString &content) { m_content = content; }
    int checkDigit() const { return m_checkDigit; }
    void setCheckDigit(int checkDigit) { m_checkDigit = checkDigit; }
    double barWidth() const { return m_barWidth; }
    virtual void setBarWidth(double barWidth) { m_barWidth = barWidth; }
    double height() const { return m_height; }
    virtual void setHeight(double height) { m_height = height; }
    double width() const { return m_width; }
    void setWidth(double width) { m_width = width; }

    virtual bool printsCaption() const { return m_printsCaption; }
    virtual bool printsHeader() const { return m_printsHeader; }
    virtual bool printsFooter() const { return m_printsFooter; }
    void setPrintsCaption(bool on) { m_printsCaption = on; }
    void setPrintsHeader(bool on) { m_printsHeader = on; }
    void setPrintsFooter(bool on) { m_printsFooter = on; }

    QString header() const { return m_header; }
    QString footer() const { return m_footer; }
    void setHeader(const QString &header) { m_header = header; }
    void setFooter(const QString &footer) { m_footer = footer; }

    double caption_fontSize() const { return m_captionFontSize; }
    double header_fontSize() const { return m_headerFontSize; }
    double footer_fontSize() const { return m_footerFontSize; }
    double captionHeight() const { return m_captionHeight; } // inches
    double headerHeight() const { return m_headerHeight; }   // inches
    double footerHeight() const { return m_footerHeight; }   // inches
    double headerWidth() const { return m_headerWidth; }     // points
    double footerWidth() const { return m_footerWidth; }     // points
    void setCaptionHeight(double inches) { m_captionHeight = inches; }
    void setHeaderHeight(double inches) { m_headerHeight = inches; }
    void setFooterHeight(double inches) { m_footerHeight = inches; }
    void setHeaderWidth(double points) { m_headerWidth = points; }
    void setFooterWidth(double points) { m_footerWidth = points; }

    // Measuring setters: the height follows the font's cap height; header and footer widths are
    // measured with the letter spacing (kern) they are drawn with.
    void setCaptionFontSize(double size, const FontDescriptor &font);
    void setHeaderFontSize(double size, const FontDescriptor &font, double kern);
    void setFooterFontSize(double size, const FontDescriptor &font, double kern);

    // Template operations.
    virtual QByteArray initiator() const { return {}; }
    virtual QByteArray terminator() const { return {}; }
    virtual QByteArray _encodeChar(char c) const;
    virtual void generateChecksum() {}
    virtual bool isContentValid() const;
    virtual QByteArray barcode() const;
    QByteArray completeBarcode() const;
    virtual void calculateWidth();

    // Caption pieces.
    virtual int digitsToLeft() const { return 0; }
    virtual int digitsToRight() const { return 0; }
    virtual QString leftCaption() const;
    virtual QString caption() const;
    virtual QString rightCaption() const;

    // Bar geometry, in points above the bars' common baseline, for the bar holding a module.
    void setMargins(const BarcodeMargins &margins) { m_margins = margins; }
    const BarcodeMargins &margins() const { return m_margins; }
    virtual double barTop(int index) const;
    virtual double barBottom(int index) const;
    // Four-state symbols stand each bar between barBottom and barTop; the others on the baseline.
    virtual bool drawsBarBottoms() const { return false; }
    // Symbols whose bars have lengths of their own need at least this much bar room (points).
    virtual double fixedBarHeight() const { return 0; }
    virtual double firstBar() const { return 0; }
    virtual double lastBar() const { return m_width - m_barWidth; }

    bool operator==(const NKDBarcode &other) const { return m_content == other.m_content; }

protected:
    // The content as the single-byte text every per-character operation works on.
    QByteArray bytes() const { return m_content.toLatin1(); }
    bool isAscii() const;
    static bool allDigits(const QByteArray &text);
    // Modules of a character given as its elements, bar first and alternating with spaces, each
    // two modules where wide holds '1' and one elsewhere, followed by a one-module gap.
    static QByteArray wideNarrowModules(const char *wide);

    QString m_content;
    int m_checkDigit = -1;
    double m_barWidth = 0;
    double m_height = 0;
    double m_width = 0;
    bool m_printsCaption = false;
    bool m_printsHeader = false;
    bool m_printsFooter = false;
    QString m_header;
    QString m_footer;
    double m_captionFontSize = 0;
    double m_headerFontSize = 0;
    double m_footerFontSize = 0;
    double m_captionHeight = 0;
    double m_headerHeight = 0;
    double m_footerHeight = 0;
    double m_headerWidth = 0;
    double m_footerWidth = 0;
    BarcodeMargins m_margins;
};
