// Writes objects as a keyed archive: a binary property list with $archiver "NSKeyedArchiver",
// $version 100000, $top {"root": UID} and a $objects table that starts with "$null".
#pragma once

#include "platform/AttributedText.h"
#include "platform/FontDescriptor.h"
#include "platform/Picture.h"
#include "platform/PlistValue.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class KeyedArchiver;

// An object that can be written into a keyed archive. classHierarchy() gives $classes, most
// derived first (e.g. {"SKTText", "SKTGraphic", "NSObject"}); its first entry is $classname.
class Archivable
{
public:
    virtual ~Archivable() = default;
    virtual QStringList classHierarchy() const = 0;
    virtual void encodeWithCoder(KeyedArchiver &coder) const = 0;
};

class KeyedArchiver
{
public:
    KeyedArchiver();

    // Field encoders, used inside encodeWithCoder. Keys are written in call order.
    void encodeBool(const QString &key, bool v);
    void encodeInt(const QString &key, qint64 v);
    void encodeDouble(const QString &key, double v);
    void encodeFloat(const QString &key, float v);                          // 32-bit float, stored as a real
    void encodeString(const QString &key, const std::optional<QString> &v); // nullopt: "$null"
    void encodeRect(const QString &key, const QRectF &r);                   // "{{x, y}, {w, h}}"
    void encodePoint(const QString &key, const QPointF &p);                 // "{x, y}"
    void encodeSize(const QString &key, const QSizeF &s);                   // "{w, h}"
    void encodeData(const QString &key, const std::optional<QByteArray> &v);
    void encodeColor(const QString &key, const std::optional<QColor> &c);             // NSColor, RGB space 2
    void encodeFont(const QString &key, const std::optional<FontDescriptor> &f);      // NSFont
    void encodeText(const QString &key, const std::optional<AttributedText> &t);      // NSTextStorage
    void encodePicture(const QString &key, const std::optional<Picture> &p);          // NSImage as PNG
    void encodeObject(const QString &key, const Archivable *object);                  // null: "$null"
    void encodeObjects(const QString &key, const QList<const Archivable *> &objects); // NSArray
    void encodeValue(const QString &key, const plist::Value &inlineValue); // any inline plist value

    // Finishing: the archive with the given root, as a binary property list or as the plist tree.
    QByteArray archive(const Archivable &root);
    plist::Value archiveTree(const Archivable &root);

    // One-call archives of a single value as root (design files store colours and fonts this way).
    static QByteArray archivedColor(const QColor &c);
    static QByteArray archivedFont(const FontDescriptor &f);
    static QByteArray archivedObject(const Archivable &root);
    static QByteArray archivedObjects(const QList<const Archivable *> &roots); // root is an NSArray

    // Number text as the archive writes it in rectangles, points and sizes: the shortest exact decimal.
    static QString numberText(double v);

private:
    struct Impl;
    std::shared_ptr<Impl> d;
};
