#include "foundation/ui/PrinterCatalog.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace
{
std::optional<QStringList> &fake()
{
    static std::optional<QStringList> names;
    return names;
}
std::optional<QString> &pdfPath()
{
    static std::optional<QString> path;
    return path;
}
} // namespace

QStringList PrinterCatalog::printerNames()
{
    if (fake())
        return *fake();
    return QPrinterInfo::availablePrinterNames();
}

QStringList PrinterCatalog::choices()
{
    QStringList names = printerNames();
    names.removeAll(PdfFileEntry);
    names.append(PdfFileEntry);
    return names;
}

void PrinterCatalog::setFake(std::optional<QStringList> names)
{
    fake() = std::move(names);
}

void PrinterCatalog::setPdfFile(std::optional<QString> path)
{
    pdfPath() = std::move(path);
}

std::optional<QString> PrinterCatalog::pdfFile()
{
    return pdfPath();
}

void PrinterCatalog::configure(QPrinter &printer, const QString &printerName)
{
    if (pdfPath()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*pdfPath());
        return;
    }
    if (isPdfFile(printerName)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        return;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(printerName);
}
