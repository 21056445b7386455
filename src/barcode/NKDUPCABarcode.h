// UPC-A: a number system digit, ten data digits and a check digit in two halves of six.
// A twelfth digit given with the content must be the right check digit.
#pragma once

#include "barcode/NKDAbstractUPCEANBarcode.h"

class NKDUPCABarcode : public NKDAbstractUPCEANBarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray barcode() const override;
    QString caption() const override;
};
