#include "editor/GreetingTexts.h"

#include "foundation/FoundationState.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "platform/RegularFile.h"

#include <QFileInfo>

QStringList GreetingTexts::readLines(const QString &path, QString *error)
{
    const RegularFile::Contents contents = RegularFile::readAll(path, MaxFileBytes);
    if (error)
        *error = contents.error;
    if (!contents.ok())
        return {};
    const QString text = Trim_Str(QString::fromUtf8(contents.bytes));
    QStringList lines = text.split(QLatin1Char('\n'));
    // Files saved on Windows end their lines with "\r\n"; the "\r" is not part of the greeting.
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

void GreetingTexts::load(const QString &fileName)
{
    QString error;
    setLines(readLines(Resource_Path + fileName, &error));
    if (!error.isEmpty() && QFileInfo::exists(Resource_Path + fileName))
        Show_NSLog_Message(QStringLiteral("The greetings in %1 are not read: %2.").arg(fileName, error));
}

void GreetingTexts::setLines(const QStringList &lines)
{
    m_lines = lines;
    m_index = 0;
}

QString GreetingTexts::current() const
{
    if (m_index < 0 || m_index >= m_lines.size())
        return QString();
    return m_lines.at(m_index);
}

void GreetingTexts::next()
{
    if (m_lines.isEmpty())
        return;
    ++m_index;
    if (m_index >= m_lines.size())
        m_index = 0;
}

void GreetingTexts::back()
{
    if (m_lines.isEmpty())
        return;
    --m_index;
    if (m_index < 0)
        m_index = int(m_lines.size()) - 1;
}
