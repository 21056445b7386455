// The printers the system offers, behind a seam: the program asks the print system; tests set
// a fixed list (empty for "no printer"). A PDF file is offered beside them, always.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;

class PrinterCatalog
{
public:
    // The printer that writes the sheets into a PDF file, as every desktop print dialog offers.
    static inline const QString PdfFileEntry = QStringLiteral("Print to File (PDF)");

    // The system's printers (or the fixed list).
    static QStringList printerNames();
    // What a print window offers: the printers, then the PDF file (on its own when there is no
    // printer).
    static QStringList choices();
    static bool isPdfFile(const QString &name) { return name == PdfFileEntry; }
    // A fixed list instead of the system's; nullopt goes back to the system.
    static void setFake(std::optional<QStringList> names);

    // Points every print job at this PDF file instead of a printer (nullopt: printers again), so
    // checks can print without a print system and without being asked for a file.
    static void setPdfFile(std::optional<QString> path);
    static std::optional<QString> pdfFile();
    // Sends the printer's jobs to the named printer, to PDF for the PDF file entry (the file is
    // named when printing starts), or to the fixed PDF file when one is set.
    static void configure(QPrinter &printer, const QString &printerName);
};
