// RM4SCC (Royal Mail 4-state customer code): four bars per character, each an ascender,
// descender, tracker or full bar, between a start and a stop bar, with a check character.
#pragma once

#include "barcode/NKDBarcode.h"

#include <array>

class NKDRoyalMailBarcode : public NKDBarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    bool printsCaption() const override { return true; }
    bool printsHeader() const override { return true; }
    bool printsFooter() const override { return true; }

    QByteArray initiator() const override { return QByteArrayLiteral("10"); }
    QByteArray terminator() const override { return QByteArrayLiteral("1"); }
    QByteArray _encodeChar(char) const override { return QByteArrayLiteral("10101010"); }
    void generateChecksum() override;

    // State of the bar at a module: bit 1 reaches up, bit 0 reaches down.
    int _barDescriptor(int index) const;
    double barTop(int index) const override;
    double barBottom(int index) const override;
    bool drawsBarBottoms() const override { return true; }
    double fixedBarHeight() const override;

    // The four bar states of a character (first bar first); four trackers for others.
    static std::array<int, 4> statesOf(char c);

private:
    static int tableIndex(char c);
};
