// The printers the system offers, behind a seam: the program asks the print system; tests set
// a fixed list (empty for "no printer").
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;

class PrinterCatalog
{
public:
    static QStringList printerNames();
    // A fixed list instead of the system's; nullopt goes back to the system.
    static void setFake(std::optional<QStringList> names);

    // Points every print job at a PDF file instead of a printer (nullopt: printers again). This is
    // the road checks take without a print system; it is not offered to users.
    static void setPdfFile(std::optional<QString> path);
    static std::optional<QString> pdfFile();
    // Sends the printer's jobs to the named printer, or to the PDF file when one is set.
    static void configure(QPrinter &printer, const QString &printerName);
};
