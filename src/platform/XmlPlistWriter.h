// Writes a value tree as an XML property list with the usual DOCTYPE header.
// Numbers keep their exact value in the shortest text; UIDs become {"CF$UID": n} dictionaries.
#pragma once

#include "platform/PlistValue.h"

#include <QByteArray>

class XmlPlistWriter
{
public:
    explicit XmlPlistWriter(int maxDepth) : m_maxDepth(maxDepth) {}

    QByteArray write(const plist::Value &top);

    static QByteArray escape(const QString &text);
    static QString realText(double v);

private:
    void writeValue(const plist::Value &v, int depth);
    void indent(int depth);

    const int m_maxDepth;
    QByteArray m_out;
};
