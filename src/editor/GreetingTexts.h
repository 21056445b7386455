// The greeting titles and messages shipped as "Title.txt" and "Message.txt", one a line, and the
// one on show, stepped forwards and backwards with wrap-around.
#pragma once

#include <QString>
#include <QStringList>

class GreetingTexts
{
public:
    // Greeting lists are short; a larger file is refused rather than read.
    static constexpr qint64 MaxFileBytes = 256 * 1024;

    // The lines of a greeting file: the whole text trimmed, then split at line ends. Lines keep
    // their inner blanks; empty lines stay. Windows line ends count as one. A missing or unreadable
    // file, anything but a regular file (a FIFO would block the start for good, a device never
    // ends) and a file over MaxFileBytes give no lines, and `error` says why.
    static QStringList readLines(const QString &path, QString *error = nullptr);

    // Reads `fileName` from the data root; a file refused is logged and gives no lines.
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
