#include "foundation/FileUtils.h"

#include "foundation/FoundationState.h"
#include "foundation/MessageBoxes.h"
#include "platform/UrlOpener.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool Delete_File(const QString &path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return false;
    // A name left empty when the path was put together leaves a folder that holds everything:
    // the file system's root, the home folder or the data root itself are never removed whole.
    if (!info.isSymLink()) {
        const QString target = QDir::cleanPath(info.absoluteFilePath());
        for (const QString &keep : {QDir::rootPath(), QDir::homePath(), Resource_Path}) {
            if (!keep.isEmpty() && target == QDir::cleanPath(QDir(keep).absolutePath())) {
                Show_NSLog_Message(QStringLiteral("Refused to delete the folder %1").arg(path));
                return false;
            }
        }
    }
    // Removable when the containing folder may be written.
    if (!QFileInfo(info.absolutePath()).isWritable())
        return false;
    bool ok;
    if (info.isDir() && !info.isSymLink())
        ok = QDir(info.absoluteFilePath()).removeRecursively();
    else
        ok = QFile::remove(info.absoluteFilePath());
    if (!ok)
        Show_NSLog_Message(QStringLiteral("Could not delete %1").arg(path));
    return ok;
}

void Check_Path_And_Create_Files()
{
    if (Resource_Path.isEmpty())
        return;
    const QDir root(Resource_Path);
    const QString folders[] = {
        Data_Folder_Path,
        root.filePath(QStringLiteral("Background")),
        root.filePath(QStringLiteral("Fill_Style_Image")),
        root.filePath(QStringLiteral("LibraryImage")),
        root.filePath(QStringLiteral("Templates")),
        root.filePath(QStringLiteral("Templates/User")),
    };
    for (const QString &folder : folders) {
        if (folder.isEmpty() || QFileInfo(folder).isDir())
            continue;
        // mkpath applies the user's umask: the folders are not made writable for everybody.
        if (!QDir().mkpath(folder))
            Show_NSLog_Message(QStringLiteral("Could not create the folder %1").arg(folder));
    }
}

QString notOpenedText(const QString &what, const QString &path)
{
    return what + QStringLiteral(" could not be opened. You can open it yourself at:\n") + path;
}

bool openOrSay(const QString &path, const QString &notOpened)
{
    // The desktop's opener may start and then find nothing to open with: said then as well.
    if (UrlOpener::openFile(path, [notOpened] { Show_MessageBox(notOpened); }))
        return true;
    Show_MessageBox(notOpened);
    return false;
}

namespace
{
// What to do by hand when the desktop has no program for the link.
QString linkNotOpenedText(const QUrl &url)
{
    if (url.scheme() == QLatin1String("mailto"))
        return QStringLiteral("No mail program could be opened. You can write to this address yourself:\n") +
               url.path();
    return notOpenedText(QStringLiteral("The link"), url.toString());
}
} // namespace

bool openUrlOrSay(const QUrl &url)
{
    const QString notOpened = linkNotOpenedText(url);
    if (UrlOpener::open(url, [notOpened] { Show_MessageBox(notOpened); }))
        return true;
    Show_MessageBox(notOpened);
    return false;
}

QString helpNotOpenedText(const QString &path)
{
    return notOpenedText(QStringLiteral("The help file"), path);
}

void Open_Help_File()
{
    const QString path = Resource_Path + QStringLiteral("Help.pdf");
    if (Resource_Path.isEmpty() || !QFileInfo(path).isFile())
        Show_MessageBox(QStringLiteral("Help file does not exist!"));
    else // with no PDF reader the user is told where the file is
        openOrSay(path, helpNotOpenedText(path));
}

ResourceRoot::Result setUpDataRoot(const QString &root, const QString &shipped)
{
    const ResourceRoot::Result r = ResourceRoot::prepare(root, shipped);
    if (!r.ok) {
        Show_NSLog_Message(r.error);
        return r;
    }
    for (const QString &f : r.failed)
        Show_NSLog_Message(QStringLiteral("Could not copy the resource %1 into %2").arg(f, r.path));
    FoundationState::instance().setResourcePath(r.path);
    Check_Path_And_Create_Files();
    return r;
}
