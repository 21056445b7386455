// Writes a value tree as an XML property list with the usual DOCTYPE header.
// Numbers keep their exact value in the shortest text; UIDs become {"CF$UID": n} dictionaries.
#pragma once

#include "platform/PlistValue.h"
#include "platform/PropertyList.h"

#include <QByteArray>

class QIODevice;

class XmlPlistWriter
{
public:
    explicit XmlPlistWriter(int maxDepth) : m_maxDepth(maxDepth) {}

    QByteArray write(const plist::Value &top);
    // The same bytes written to an open device in pieces as they are made; the source's
    // dictionaries are written in place of the array it names. False when a write failed (the
    // device says why); nothing more is written after it.
    bool write(QIODevice &out, const plist::Value &top, const PropertyList::DictSource *source = nullptr);

    static QByteArray escape(const QString &text);
    static QString realText(double v);

private:
    void writeValue(const plist::Value &v, int depth);
    void writeSource(int depth);
    void indent(int depth);
    void writeHead();
    // Hands what is made so far to the device once there is enough of it (or at the end).
    void spill(bool end = false);

    const int m_maxDepth;
    QByteArray m_out;
    QIODevice *m_device = nullptr;
    const PropertyList::DictSource *m_source = nullptr;
    bool m_failed = false;
};
