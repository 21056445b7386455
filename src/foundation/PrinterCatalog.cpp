// The printers the system offers, behind a seam: the program asks the print system; tests set
// a fixed list (empty for "no printer").
#include "foundation/PrinterCatalog.h"

#include <QPrinterInfo>

namespace
{
std::optional<QStringList> &fake()
{
    static std::optional<QStringList> names;
    return names;
}
} // namespace

QStringList PrinterCatalog::printerNames()
{
    if (fake())
        return *fake();
    return QPrinterInfo::availablePrinterNames();
}

void PrinterCatalog::setFake(std::optional<QStringList> names)
{
    fake() = std::move(names);
}
