// The greeting titles and messages shipped as "Title.txt" and "Message.txt", one a line, and the
// one on show, stepped forwards and backwards with wrap-around.
#pragma once

#include <QString>
#include <QStringList>

class GreetingTexts
{
public:
    // The lines of a greeting file: the whole text trimmed, then split at line ends. Lines keep
    // their inner blanks; empty lines stay. Windows line ends count as one. A missing or unreadable
    // file gives no lines.
    static QStringList readLines(const QString &path);

    // Reads `fileName` from the data root.
    void load(const QString &fileName);
    void setLines(const QStringList &lines);

    int count() const { return int(m_lines.size()); }
    int index() const { return m_index; }
    // The entry on show; "" without a list.
    QString current() const;
    void next();
    void back();
    void rewind() { m_index = 0; }

private:
    QStringList m_lines;
    int m_index = 0;
};
