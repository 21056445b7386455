// The data a document hands out when saved or exported as a whole: its own binary property list,
// or PDF or TIFF of the front side; and the error values the drawing model reports.
#pragma once

#include "canvas/RenderSide.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct SKTError {
    QString domain;
    int code = 0;
    QString localizedDescription;
    QString localizedFailureReason;
};

class DocumentData
{
public:
    static inline const QString NativeTypeIdentifier =
        QStringLiteral("com.zolvsoftware.TessalyGreetingDesigner");
    static inline const QString NativeTypeName = QStringLiteral("ZOLV CARD document");
    static inline const QString PdfType = QStringLiteral("com.adobe.pdf");
    static inline const QString TiffType = QStringLiteral("public.tiff");
    static inline const QString ErrorDomain = QStringLiteral("TessalyErrorDomain");

    // Error of the error domain with the texts for the code (2: pasteboard data unreadable,
    // 3: nothing to render, SKTGraphic::PasteTooManyObjects and PasteTooLargeBytes: beyond a design's
    // limits); other codes get the generic texts.
    static SKTError SKTErrorWithCode(int code);

    // The front side's data of a type: native data for the native identifier or name, PDF for
    // "com.adobe.pdf" (or "pdf"), TIFF for "public.tiff" (or "tiff"). An unknown type, or TIFF of a
    // side with nothing on it, gives nullopt and *error.
    static std::optional<QByteArray> dataOfType(const RenderSide &front, const QString &type,
                                                const QByteArray &printInfo, SKTError *error = nullptr);

    // Binary property list {"version": 2, "graphics": [one archive per object], "printInfo": data}.
    static QByteArray nativeData(const GraphicList &graphics, const QByteArray &printInfo);

    // The print job's title: the file name without its extension, or the display name without a file.
    static QString printJobTitle(const QString &filePath, const QString &displayName);
};
