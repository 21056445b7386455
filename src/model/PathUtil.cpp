#include "model/PathUtil.h"

#include "foundation/FoundationState.h"

#include <QDir>
#include <QFileInfo>

QString PathUtil::join(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString PathUtil::resourceFile(const QString &name)
{
    return join(FoundationState::instance().Resource_Path, name);
}

QString PathUtil::standardizedPath(const QString &path)
{
    if (path.isEmpty())
        return path;
    QString p = path;
    if (p == QLatin1String("~") || p.startsWith(QLatin1String("~/")))
        p = QDir::homePath() + p.mid(1);
    return QDir::cleanPath(p);
}

Picture PathUtil::loadPicture(const QString &path)
{
    const QString p = standardizedPath(path);
    if (p.isEmpty() || !QFileInfo(p).isFile())
        return Picture();
    return Picture::fromFile(p);
}
