#include "canvas/DocumentData.h"

#include "canvas/SKTRenderingView.h"
#include "model/ObjectListLimits.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

SKTError DocumentData::SKTErrorWithCode(int code)
{
    SKTError e;
    e.domain = ErrorDomain;
    e.code = code;
    switch (code) {
    case 2:
        e.localizedDescription = QStringLiteral("Tessaly could not paste the copied objects.");
        e.localizedFailureReason =
            QStringLiteral("The copied data is damaged or was made by another program.");
        break;
    case SKTGraphic::PasteTooManyObjects:
        e.localizedDescription = QStringLiteral("Tessaly could not paste the copied objects.");
        e.localizedFailureReason =
            QStringLiteral("The copied data holds more than %1 objects, more than a design may hold.")
                .arg(ObjectListLimits::MaxObjects);
        break;
    case SKTGraphic::PasteTooLargeBytes:
        e.localizedDescription = QStringLiteral("Tessaly could not paste the copied objects.");
        e.localizedFailureReason =
            QStringLiteral("The copied objects hold more than %1 MB, more than a design may hold.")
                .arg(ObjectListLimits::MaxObjectArchiveBytes >> 20);
        break;
    case 3:
        e.localizedDescription = QStringLiteral("Tessaly could not make a picture of the objects.");
        e.localizedFailureReason = QStringLiteral("The objects cover no area to draw.");
        break;
    default:
        e.localizedDescription =
            QStringLiteral("Tessaly could not complete the operation because an unknown error occurred.");
        e.localizedFailureReason = QStringLiteral("An unknown error occurred.");
        break;
    }
    return e;
}

QByteArray DocumentData::nativeData(const GraphicList &graphics, const QByteArray &printInfo)
{
    plist::Array archives;
    for (const QByteArray &archive : SKTGraphic::propertiesWithGraphics(graphics))
        archives.append(plist::Value(archive));
    plist::Dict dict;
    dict.insert(QStringLiteral("version"), plist::Value(2));
    dict.insert(QStringLiteral("graphics"), plist::Value(archives));
    dict.insert(QStringLiteral("printInfo"), plist::Value(printInfo));
    return PropertyList::writeBinary(plist::Value(dict));
}

std::optional<QByteArray> DocumentData::dataOfType(const RenderSide &front, const QString &type,
                                                   const QByteArray &printInfo, SKTError *error)
{
    if (type == NativeTypeIdentifier || type == NativeTypeName)
        return nativeData(front.graphics(), printInfo);
    if (type == PdfType || type.compare(u"pdf", Qt::CaseInsensitive) == 0) {
        QByteArray pdf = SKTRenderingView::pdfDataWithGraphics_data(front);
        if (pdf.isEmpty()) {
            if (error)
                *error = SKTErrorWithCode(3);
            return std::nullopt;
        }
        return pdf;
    }
    if (type == TiffType || type.compare(u"tiff", Qt::CaseInsensitive) == 0) {
        int code = 0;
        QByteArray tiff =
            SKTRenderingView::tiffDataWithGraphics(front.graphics(), front.resourcePath(), &code);
        if (tiff.isEmpty()) {
            if (error)
                *error = SKTErrorWithCode(code ? code : 3);
            return std::nullopt;
        }
        return tiff;
    }
    // Not a programming error worth a crash: report it like any failure.
    if (error)
        *error = SKTErrorWithCode(0);
    return std::nullopt;
}

QString DocumentData::printJobTitle(const QString &filePath, const QString &displayName)
{
    if (filePath.isEmpty())
        return displayName;
    return QFileInfo(filePath).completeBaseName();
}
