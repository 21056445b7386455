#include "foundation/Preferences.h"

#include "foundation/MessageBoxes.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kPrivateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

std::unique_ptr<Preferences> &shared()
{
    static std::unique_ptr<Preferences> instance;
    return instance;
}
std::mutex g_sharedMutex;
QString g_sharedPath;

// Creates an empty file readable by its owner only; an existing file is left alone.
void createPrivateFile(const QString &path)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly, kPrivateFile))
        f.close();
}
} // namespace

Preferences &Preferences::sharedInstance()
{
    const std::lock_guard<std::mutex> lock(g_sharedMutex);
    if (!shared())
        shared() = std::make_unique<Preferences>(g_sharedPath.isEmpty() ? defaultPath() : g_sharedPath);
    return *shared();
}

void Preferences::resetSharedInstance(const QString &path)
{
    const std::lock_guard<std::mutex> lock(g_sharedMutex);
    shared().reset();
    g_sharedPath = path;
}

QString Preferences::defaultPath()
{
    // Equal to AppConfigLocation for our application name with no organisation.
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/tessaly-designer/com.zolv.card.plist"));
}

bool Preferences::ensurePrivateFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists()) {
        const QString parent = QFileInfo(dir.absolutePath()).absolutePath();
        if (!QDir().mkpath(parent))
            return false;
        if (!QDir().mkdir(dir.absolutePath(), kPrivateFolder))
            return QFileInfo(dir.absolutePath()).isDir() &&
                   QFile::setPermissions(dir.absolutePath(), kPrivateFolder);
        return true;
    }
    // Our own configuration folder stays private even if it was made wider before; a folder
    // given by someone else (tests, a shared place) is left as it is.
    const bool ours = dir.absolutePath() == QFileInfo(defaultPath()).absolutePath();
    if (ours && (QFile::permissions(dir.absolutePath()) & ~kPrivateFolder) != 0)
        QFile::setPermissions(dir.absolutePath(), kPrivateFolder);
    return true;
}

QString Preferences::besidePath(const QString &fileName) const
{
    return QFileInfo(mPreferencesPath).absoluteDir().filePath(fileName);
}

Preferences::Preferences(const QString &path) : mPreferencesPath(path)
{
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || info.size() > MaxFileBytes)) {
        // Neither read nor replaced on the way in: a FIFO would block the start for good and a
        // huge file cost its size many times over in memory.
        m_loadError =
            info.isFile()
                ? QStringLiteral("The mail settings file is larger than %1 KiB.").arg(MaxFileBytes / 1024)
                : QStringLiteral("The mail settings file is not a regular file.");
        Show_NSLog_Message(QStringLiteral("Mail settings %1 could not be read: %2").arg(path, m_loadError));
    } else if (info.exists()) {
        // Read within the limit, should the file grow after the look above.
        QFile file(path);
        QByteArray bytes;
        if (file.open(QIODevice::ReadOnly))
            bytes = file.read(MaxFileBytes + 1);
        PropertyList::ReadResult r = PropertyList::read(bytes);
        if (!file.isOpen())
            r = {false, {}, file.errorString()};
        else if (bytes.size() > MaxFileBytes)
            r = {false,
                 {},
                 QStringLiteral("The mail settings file is larger than %1 KiB.").arg(MaxFileBytes / 1024)};
        if (r.ok && r.value.isDict()) {
            mDict = r.value.toDict();
            m_loaded = true;
        } else {
            // Left as it is: the user may still want what is in it. The defaults apply until a flush.
            m_loadError =
                r.ok ? QStringLiteral("The mail settings file does not hold a dictionary.") : r.error;
            if (info.size() > 0)
                Show_NSLog_Message(
                    QStringLiteral("Mail settings %1 could not be read: %2").arg(path, m_loadError));
        }
    } else if (ensurePrivateFolder(info.absolutePath())) {
        createPrivateFile(path);
    }
    if (!m_loaded)
        setDefaults();
}

Preferences::~Preferences() = default;

void Preferences::setDefaults()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    for (const char *key :
         {"SendEmailRecipient", "SendEmailSender", "SendEmailPwd", "SendEmailSMTP", "SendEmailPORT"})
        mDict.insert(QString::fromLatin1(key), QString(QStringLiteral("")));
}

bool Preferences::flush(QString *error)
{
    plist::Dict copy;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        copy = mDict;
    }
    QString why;
    const QString folder = QFileInfo(mPreferencesPath).absolutePath();
    bool ok = ensurePrivateFolder(folder);
    if (!ok) {
        why = QStringLiteral("The folder %1 could not be created.").arg(folder);
    } else {
        // Make the file private before the first byte of the password is written: the atomic
        // writer keeps the permissions of the file it replaces.
        if (!QFileInfo::exists(mPreferencesPath))
            createPrivateFile(mPreferencesPath);
        else if (QFile::permissions(mPreferencesPath) != kPrivateFile) {
            QFile::setPermissions(mPreferencesPath, kPrivateFile);
        }
        ok = PropertyList::writeFile(mPreferencesPath, plist::Value(copy), PropertyList::Format::Xml, &why);
        if (ok && QFile::permissions(mPreferencesPath) != kPrivateFile)
            QFile::setPermissions(mPreferencesPath, kPrivateFile);
    }
    if (!ok) {
        if (why.isEmpty())
            why = QStringLiteral("The mail settings could not be saved.");
        Show_NSLog_Message(QStringLiteral("Mail settings %1 not written: %2").arg(mPreferencesPath, why));
        if (error)
            *error = why;
        return false;
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_loaded = true;
    m_loadError.clear();
    return true;
}

QString Preferences::get(const QString &key) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const plist::Value *v = mDict.find(key);
    if (!v || v->isNull())
        return QString();
    if (v->isString())
        return v->toString();
    if (v->isInteger())
        return QString::number(v->toInteger()); // a port typed into the file by hand
    if (v->isReal())
        return QString::number(v->toReal());
    if (v->isBool())
        return v->toBool() ? QStringLiteral("Y") : QStringLiteral("N");
    return QString();
}

void Preferences::set(const QString &key, const QString &value)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (value.isNull())
        mDict.remove(key);
    else
        mDict.insert(key, plist::Value(value));
}
