// The Japan Post customer barcode: a postal code and address digits as 20 code characters and a
// check character of three four-state bars each, between start and stop codes.
#pragma once

#include "barcode/NKDBarcode.h"

#include <array>

class JapanPostBarcode : public NKDBarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    // Converts the text to code characters; content() keeps the shown letters, digits and hyphens.
    void setContent(const QString &content) override;
    QString japanpostContents() const { return m_codes; }

    // Symbol size on the Japan Post point scale (10 standard), kept within 8.5 to 11.5; sets the
    // module width to size / 6. The frame height is the plain height().
    double symbolSize() const { return m_size; }
    void setSymbolSize(double size);
    // Module width kept within 1.3333334 to 1.9166666 points; the size follows as 6 x width.
    void setBarWidth(double barWidth) override;

    bool printsCaption() const override { return true; }
    bool printsHeader() const override { return true; }
    bool printsFooter() const override { return true; }

    QByteArray initiator() const override { return QByteArrayLiteral("1010"); }
    QByteArray terminator() const override { return QByteArrayLiteral("101"); }
    QByteArray barcode() const override;
    void generateChecksum() override;
    bool isContentValid() const override;

    int _barDescriptor(int index) const;
    double barTop(int index) const override;
    double barBottom(int index) const override;
    bool drawsBarBottoms() const override { return true; }
    double fixedBarHeight() const override;

    // The three bar states of a code character; trackers for an unknown one.
    static std::array<int, 3> statesOf(char code);
    static int valueOf(char code);

private:
    QString m_codes;
    double m_size = 10.0;
};
