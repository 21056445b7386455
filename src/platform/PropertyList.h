// Reading and writing property lists: XML and binary ("bplist00").
// Readers check every offset and length and limit nesting; bad input gives a clear error.
#pragma once

#include "platform/PlistValue.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

class PropertyList
{
public:
    enum class Format { Xml, Binary };

    struct ReadResult {
        bool ok = false;
        plist::Value value;
        QString error; // user-readable reason when !ok
        Format format = Format::Xml;
    };

    // Takes the dictionaries of one array of an XML list as they are read, instead of the tree
    // holding them all: rows, of which a file may hold millions. `array` is its index in the top
    // array; a dictionary `take` refuses stays in the tree.
    struct DictSink {
        qsizetype array = -1;
        std::function<bool(const plist::Dict &)> take;
    };

    // The same the other way: the dictionaries of one array of the top array, made one at a time
    // as an XML list is written, in place of the array the tree holds at that index.
    struct DictSource {
        qsizetype array = -1;
        qsizetype count = 0;
        std::function<plist::Dict(qsizetype)> at;
    };

    static ReadResult read(const QByteArray &bytes, const DictSink *sink = nullptr); // detects the format
    // From an open device: XML in pieces as it comes, so only the values read are held; the
    // compact binary form is read whole (its objects point anywhere in it).
    static ReadResult read(QIODevice &input, const DictSink *sink = nullptr);
    // A file read from the disk as it is parsed.
    static ReadResult readFile(const QString &path, const DictSink *sink = nullptr);
    static QByteArray writeXml(const plist::Value &v);
    // The same bytes written to an open device as they are made: the list is never held whole.
    // False when a write failed (the device says why).
    static bool writeXml(QIODevice &out, const plist::Value &v, const DictSource *source = nullptr);
    static QByteArray writeBinary(const plist::Value &v);
    // Atomic file write (QSaveFile); false with *error on failure; the old file survives a failure.
    static bool writeFile(const QString &path, const plist::Value &v, Format format,
                          QString *error = nullptr);

    static constexpr int MaxDepth = 512;
};
