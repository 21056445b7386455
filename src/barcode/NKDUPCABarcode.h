// UPC-A: a number system digit, ten data digits and a check digit in two halves of six.
// A twelfth digit given with the content must be the right check digit.
#pragma once

#include "barcode/NKDAbstractUPCEANBarcode.h"

class NKDUPCABarcode : public NKDAbstractUPCEANBarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    void generateChecksum() override;
    bool isContentValid() const override;
    QByteArray barcode() const override;
    QString caption() const override;

protected:
    virtual int expectedCheckDigit() const;
};
