// The printers the system offers, behind a seam: the program asks the print system; tests set
// a fixed list (empty for "no printer").
#pragma once

#include <QStringList>

#include <optional>

class PrinterCatalog
{
public:
    static QStringList printerNames();
    // A fixed list instead of the system's; nullopt goes back to the system.
    static void setFake(std::optional<QStringList> names);
};
