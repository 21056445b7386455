// Reads keyed archives written by KeyedArchiver or by other writers of the same layout. Every UID,
// class and value kind is checked; nesting is limited; a bad archive gives an error, never a crash.
#pragma once

#include "platform/AttributedText.h"
#include "platform/FontDescriptor.h"
#include "platform/KeyedArchiver.h"
#include "platform/Picture.h"
#include "platform/PlistValue.h"

#include <QColor>
#include <QHash>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class KeyedUnarchiver;

// Makes an object of one archived class and fills it from the coder; returns null to refuse it.
using ArchivableFactory = std::function<std::shared_ptr<Archivable>(KeyedUnarchiver &coder)>;

class KeyedUnarchiver
{
public:
    // Opens an archive (binary or XML property list). Check ok() / error() before decoding.
    explicit KeyedUnarchiver(const QByteArray &archive);
    explicit KeyedUnarchiver(const plist::Value &archiveTree);

    bool ok() const;
    QString error() const; // first problem met, including during decoding

    // Classes the reader may build, by $classname. Unknown classes fail decoding.
    void registerClass(const QString &className, ArchivableFactory factory);

    // The root object built through the registered factories (null on error).
    std::shared_ptr<Archivable> decodeRootObject();
    QList<std::shared_ptr<Archivable>> decodeRootObjects(); // root is an NSArray of objects
    std::optional<QColor> decodeRootColor();
    std::optional<FontDescriptor> decodeRootFont();

    // Field decoders, used inside a factory for the object being decoded.
    // A missing key reads as zero / empty / nullopt; a value of the wrong kind sets the error.
    bool decodeBool(const QString &key);
    qint64 decodeInt(const QString &key);
    double decodeDouble(const QString &key);
    float decodeFloat(const QString &key);
    std::optional<QString> decodeString(const QString &key);
    QRectF decodeRect(const QString &key);
    QPointF decodePoint(const QString &key);
    QSizeF decodeSize(const QString &key);
    std::optional<QByteArray> decodeData(const QString &key);
    std::optional<QColor> decodeColor(const QString &key);
    std::optional<FontDescriptor> decodeFont(const QString &key);
    std::optional<AttributedText> decodeText(const QString &key);
    std::optional<Picture> decodePicture(const QString &key);
    std::shared_ptr<Archivable> decodeObject(const QString &key);
    QList<std::shared_ptr<Archivable>> decodeObjects(const QString &key);
    plist::Value decodeValue(const QString &key); // the raw inline value

    // One-call readers matching KeyedArchiver's one-call writers.
    static std::optional<QColor> unarchiveColor(const QByteArray &archive, QString *error = nullptr);
    static std::optional<FontDescriptor> unarchiveFont(const QByteArray &archive, QString *error = nullptr);

private:
    struct Impl;
    std::shared_ptr<Impl> d;
};
