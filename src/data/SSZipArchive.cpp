#include "SSZipArchive.h"

#include "ZipDeviceIo.h"
#include "ZipEntryDevice.h"
#include "ZipReader.h"
#include "platform/SaveFileCommit.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <minizip/zip.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int kMaxFolderDepth = 256;

QString messageFor(int code)
{
    switch (code) {
    case SSZipArchive::ErrorOpenZip:
        return QStringLiteral("failed to open zip file");
    case SSZipArchive::ErrorFirstFile:
        return QStringLiteral("failed to open first file in zip file");
    case SSZipArchive::ErrorOpenEntry:
        return QStringLiteral("failed to open file in zip file");
    case SSZipArchive::ErrorReadEntry:
        return QStringLiteral("failed to read file in zip file");
    case SSZipArchive::ErrorUnsafeName:
        return QStringLiteral("file in zip file is named outside the destination folder");
    case SSZipArchive::ErrorWriteFile:
        return QStringLiteral("failed to write file from zip file");
    case SSZipArchive::ErrorCreateZip:
        return QStringLiteral("failed to create zip file");
    case SSZipArchive::ErrorAddPath:
        return QStringLiteral("failed to add files to zip file");
    }
    return {};
}

// Keeps the first failure: it is the one that explains the rest.
void setError(ZipError *error, int code, const QString &detail = {})
{
    if (!error || error->code != 0)
        return;
    error->domain = QString::fromLatin1(SSZipArchive::ErrorDomain);
    error->code = code;
    error->message = messageFor(code);
    if (!detail.isEmpty())
        error->message += QStringLiteral(": ") + detail;
}

// The entry's path below the destination, or a null string when the name is absolute or climbs
// out with "..".
QString safeRelativePath(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QChar(0)))
        return {};
    QStringList kept;
    for (const QString &part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return {};
        kept << part;
    }
    return kept.join(QLatin1Char('/'));
}

bool isInside(const QString &canonicalRoot, const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return !c.isEmpty() && (c == canonicalRoot || c.startsWith(canonicalRoot + QLatin1Char('/')));
}

// Whether creating rel below the root stays inside it: every component that already exists (a
// link to a folder elsewhere included) must lead inside; what does not exist yet will be made here.
bool staysInside(const QString &canonicalRoot, const QString &rel)
{
    QString path = canonicalRoot;
    for (const QString &part : rel.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        const QFileInfo fi(path);
        if (fi.isSymLink()) {
            if (!isInside(canonicalRoot, path)) // a dangling link has no canonical path either
                return false;
        } else if (!fi.exists()) {
            return true;
        }
    }
    return true;
}

QString systemError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// The unpacked entries waiting in a private staging folder below the destination's root until
// they are moved to their names together. Entries below a top-level name that is new to the
// destination (the usual case: unpacking into a new folder) are laid out under "t" as they will
// stand, so one move of each top-level item puts them all in place; a file bound for a folder that
// exists already waits under "n" by number and is moved on its own. Unless committed, everything
// is removed again, with the staging folder, when this goes: a failed unpacking changes no file.
class PendingFiles
{
public:
    explicit PendingFiles(const QString &root) : m_root(root) {}
    PendingFiles(const PendingFiles &) = delete;
    PendingFiles &operator=(const PendingFiles &) = delete;
    ~PendingFiles()
    {
        if (m_stagingFd >= 0) {
            ::close(m_stagingFd);
            QDir(m_staging).removeRecursively();
        }
    }

    // Makes the staging folder at first use.
    bool ready(QString *why)
    {
        if (m_stagingFd >= 0)
            return true;
        QByteArray path = QFile::encodeName(m_root + QStringLiteral("/.tessaly-unzip-XXXXXX"));
        if (!::mkdtemp(path.data())) {
            *why = systemError(errno);
            return false;
        }
        m_staging = QFile::decodeName(path);
        if (::mkdirat(AT_FDCWD, (path + "/t").constData(), 0700) != 0 ||
            ::mkdirat(AT_FDCWD, (path + "/n").constData(), 0700) != 0 ||
            (m_stagingFd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0) {
            *why = systemError(errno);
            QDir(m_staging).removeRecursively();
            return false;
        }
        return true;
    }

    // Where the entries of new top-level names are laid out.
    QString tree() const { return m_staging + QStringLiteral("/t"); }
    void addTop(const QString &top) { m_tops << top; }
    // The destination itself is new: the whole staged tree becomes it, in one move.
    void setWholeTree(const QString &destination) { m_wholeTree = destination; }

    bool hasTarget(const QString &target) const { return m_targets.contains(target); }

    // Copies the entry to path (made, or replaced when replace is set). False with *why empty when
    // the entry could not be read, with the system's reason when the file could not be written.
    bool writeTo(ZipEntryDevice &entry, const QByteArray &path, const QDateTime &modified, QString *why)
    {
        // Made as any new file here is (the umask applies), so no mode needs setting later.
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            *why = systemError(errno);
            return false;
        }
        bool written = true;
        int err = 0;
        for (;;) {
            const qint64 n = entry.read(m_buffer, sizeof m_buffer);
            if (n <= 0)
                break;
            for (qint64 done = 0; done < n;) {
                const ssize_t w = ::write(fd, m_buffer + done, size_t(n - done));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w <= 0) {
                    err = w < 0 ? errno : ENOSPC;
                    written = false;
                    break;
                }
                done += w;
            }
            if (!written)
                break;
        }
        const bool readOk = entry.finish();
        if (written && readOk && modified.isValid()) {
            const qint64 ms = modified.toMSecsSinceEpoch();
            const timespec times[2] = {{0, UTIME_OMIT}, {time_t(ms / 1000), long((ms % 1000) * 1000000)}};
            ::futimens(fd, times);
        }
        if (::close(fd) != 0 && written) {
            err = errno;
            written = false;
        }
        if (!readOk) {
            why->clear();
            return false;
        }
        if (!written) {
            *why = systemError(err);
            return false;
        }
        return true;
    }

    // Stages a file bound for a folder that exists already.
    bool write(ZipEntryDevice &entry, const QString &target, const QString &entryName,
               const QDateTime &modified, QString *why)
    {
        if (!ready(why))
            return false;
        const QByteArray temp = "n/" + QByteArray::number(qulonglong(m_items.size()));
        m_items.push_back({temp, QFile::encodeName(target), entryName});
        m_targets.insert(target);
        return writeTo(entry, QFile::encodeName(m_staging) + '/' + temp, modified, why);
    }

    // One sync of all that was written, every new top-level item and every single file moved to
    // its name, then one sync of the folders' new entries. A target that is a link stays as it is;
    // its entry goes to *refused.
    bool commit(QString *why, QStringList *refused)
    {
        if (m_stagingFd < 0)
            return true;
        ::syncfs(m_stagingFd);
        bool ok = true;
        if (!m_wholeTree.isEmpty()) {
            const QByteArray to = QFile::encodeName(m_wholeTree);
            if (::renameat2(m_stagingFd, "t", AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
                *why = QStringLiteral("%1 (%2)").arg(m_wholeTree, systemError(errno));
                ok = false;
            }
        }
        for (const QString &top : std::as_const(m_tops)) {
            const QByteArray from = "t/" + QFile::encodeName(top);
            const QByteArray to = QFile::encodeName(m_root + QLatin1Char('/') + top);
            if (::renameat2(m_stagingFd, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
                *why = QStringLiteral("%1 (%2)").arg(QFile::decodeName(to), systemError(errno));
                ok = false;
                break;
            }
        }
        for (size_t i = 0; ok && i < m_items.size(); ++i) {
            const Item &item = m_items[i];
            // A new name needs no look at what stands there: the common case, one step.
            if (::renameat2(m_stagingFd, item.temp.constData(), AT_FDCWD, item.target.constData(),
                            RENAME_NOREPLACE) == 0)
                continue;
            int err = errno;
            if (err == EEXIST || err == EINVAL || err == ENOSYS) {
                struct stat st {
                };
                if (::lstat(item.target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
                    *refused << item.entryName;
                    continue;
                }
                if (::renameat(m_stagingFd, item.temp.constData(), AT_FDCWD, item.target.constData()) == 0)
                    continue;
                err = errno;
            }
            *why = QStringLiteral("%1 (%2)").arg(QFile::decodeName(item.target), systemError(err));
            ok = false;
        }
        ::syncfs(m_stagingFd);
        return ok;
    }

private:
    struct Item {
        QByteArray temp, target;
        QString entryName;
    };
    QString m_root;
    QString m_staging;
    QString m_wholeTree;
    int m_stagingFd = -1;
    QStringList m_tops;
    std::vector<Item> m_items;
    QSet<QString> m_targets;
    char m_buffer[65536];
};

// Where the entries of one unpacking go. A destination that does not exist yet is made whole from
// the staged tree at the end; the staging folder then stands beside it.
struct UnzipTarget {
    QString root;        // the destination's canonical path (its parent's, plus its name, when new)
    QString stagingRoot; // the folder the staging folder is made in
    bool isNew = false;
};

// Makes the destination's folder (or its parent when it is new) and works out its canonical path.
bool openUnzipTarget(const QString &destination, UnzipTarget *target, ZipError *error)
{
    const QFileInfo destInfo(destination);
    target->isNew = !destInfo.exists() && !destInfo.isSymLink();
    if (!QDir().mkpath(target->isNew ? destInfo.absolutePath() : destination)) {
        setError(error, SSZipArchive::ErrorWriteFile, destination);
        return false;
    }
    const QString parent = QFileInfo(destInfo.absolutePath()).canonicalFilePath();
    target->root = target->isNew ? parent + QLatin1Char('/') + destInfo.fileName()
                                 : QFileInfo(destination).canonicalFilePath();
    target->stagingRoot = target->isNew ? parent : target->root;
    return true;
}

// One unpacking, entry by entry. Entries are written to temporary files and moved into place
// together at the end, after one sync of everything written: each target is either as it was or
// whole after a crash, without a sync per entry.
class UnzipRun
{
public:
    UnzipRun(ZipReader &reader, const UnzipTarget &target, bool overwrite, const QString &password,
             ZipError *error)
        : m_reader(reader), m_target(target), m_dest(target.root), m_overwrite(overwrite),
          m_password(password.toLatin1()), m_error(error), m_pending(target.stagingRoot)
    {
        if (target.isNew)
            m_pending.setWholeTree(target.root);
    }

    // Stages every entry from the reader's current one on; false after a failure that ends the
    // unpacking, while a refused name only clears the final result.
    bool stageAll()
    {
        for (bool more = true; more;) {
            if (!stageEntry())
                return false;
            bool nextError = false;
            more = m_reader.goToNext(&nextError);
            if (nextError) {
                setError(m_error, SSZipArchive::ErrorOpenEntry);
                return false;
            }
        }
        return true;
    }

    // Moves what was staged into place; true when every entry was written.
    bool commit(const QString &destination)
    {
        QString why;
        QStringList refused;
        if (!m_pending.commit(&why, &refused)) {
            setError(m_error, SSZipArchive::ErrorWriteFile, why);
            return false;
        }
        if (m_target.isNew && !QDir().mkpath(m_target.root)) { // nothing was staged: still made
            setError(m_error, SSZipArchive::ErrorWriteFile, destination);
            return false;
        }
        if (!refused.isEmpty()) {
            // Replacing a link would not write through it, but the archive meant the file it leads to.
            setError(m_error, SSZipArchive::ErrorUnsafeName, refused.first());
            return false;
        }
        return m_ok;
    }

private:
    bool stageEntry();
    bool isFreshTop(const QString &top, bool *fresh);
    bool stageInTree(const QString &rel);
    bool placeInDestination(const QString &rel);
    bool writeFile(const QString &rel);
    // Opens the current entry and hands it to write; false, with the error set, when either fails.
    template <typename Write> bool writeCurrent(Write write)
    {
        auto entry = m_reader.openCurrent(m_password, -1);
        if (!entry) {
            setError(m_error, SSZipArchive::ErrorOpenEntry, m_info.name);
            return false;
        }
        QString why;
        if (!write(*entry, &why)) {
            setWriteError(why);
            return false;
        }
        return true;
    }
    void refuse(int code)
    {
        setError(m_error, code, m_info.name);
        m_ok = false;
    }
    void setWriteError(const QString &why)
    {
        setError(m_error, why.isEmpty() ? SSZipArchive::ErrorReadEntry : SSZipArchive::ErrorWriteFile,
                 why.isEmpty() ? m_info.name : QStringLiteral("%1 (%2)").arg(m_info.name, why));
    }

    ZipReader &m_reader;
    const UnzipTarget &m_target;
    const QDir m_dest;
    const bool m_overwrite;
    const QByteArray m_password;
    ZipError *m_error;
    PendingFiles m_pending;
    ZipEntryInfo m_info; // the current entry
    bool m_ok = true;
    // Folders below the root (relative, "" the root) known to lie inside it: checked once, not
    // again for every file they receive.
    QSet<QString> m_checkedFolders{QString()};
    // Top-level names: true for those new to the destination, whose entries go to the staged tree.
    QHash<QString, bool> m_freshTops;
    QSet<QString> m_stagedFolders;
};

// Stages the current entry; false after a failure that ends the unpacking.
bool UnzipRun::stageEntry()
{
    m_info = ZipEntryInfo();
    if (!m_reader.currentInfo(&m_info)) {
        setError(m_error, SSZipArchive::ErrorOpenEntry);
        return false;
    }
    const QString rel = safeRelativePath(m_info.name);
    if (rel.isEmpty()) {
        // "./" alone names the destination itself: nothing to do. Anything else is refused.
        if (safeRelativePath(m_info.name + QStringLiteral("/x")) != QLatin1String("x"))
            refuse(SSZipArchive::ErrorUnsafeName);
        return true;
    }
    bool fresh = false;
    if (!isFreshTop(rel.section(QLatin1Char('/'), 0, 0), &fresh))
        return false;
    // Nothing of a fresh name stands in the destination: laid out in the staged tree, which holds
    // nothing but what is made here.
    return fresh ? stageInTree(rel) : placeInDestination(rel);
}

// Whether nothing of the top-level name stands in the destination, looked at once per name; the
// staging folder is made at the first such name. False after a failure.
bool UnzipRun::isFreshTop(const QString &top, bool *fresh)
{
    if (const auto known = m_freshTops.constFind(top); known != m_freshTops.constEnd()) {
        *fresh = known.value();
        return true;
    }
    struct stat st {
    };
    const bool isNew =
        m_target.isNew ||
        (::lstat(QFile::encodeName(m_dest.filePath(top)).constData(), &st) != 0 && errno == ENOENT);
    QString why;
    if (isNew && !m_pending.ready(&why)) {
        setError(m_error, SSZipArchive::ErrorWriteFile, QStringLiteral("%1 (%2)").arg(m_info.name, why));
        return false;
    }
    if (isNew && !m_target.isNew)
        m_pending.addTop(top);
    m_freshTops.insert(top, isNew);
    *fresh = isNew;
    return true;
}

// Lays the current entry out in the staged tree under its own name.
bool UnzipRun::stageInTree(const QString &rel)
{
    const QString staged = m_pending.tree() + QLatin1Char('/') + rel;
    const QString folder = m_info.isFolder ? staged : QFileInfo(staged).path();
    if (!m_stagedFolders.contains(folder)) {
        if (!QDir().mkpath(folder)) {
            setError(m_error, SSZipArchive::ErrorWriteFile, m_info.name);
            return false;
        }
        m_stagedFolders.insert(folder);
    }
    if (m_info.isFolder || (!m_overwrite && QFileInfo::exists(staged)))
        return true;
    return writeCurrent([&](ZipEntryDevice &entry, QString *why) {
        return m_pending.writeTo(entry, QFile::encodeName(staged), m_info.modified, why);
    });
}

// The current entry bound for a top-level name that exists already: its folders are made in the
// destination (checked to stay inside), a file is staged to be moved in on its own.
bool UnzipRun::placeInDestination(const QString &rel)
{
    const qsizetype slash = rel.lastIndexOf(QLatin1Char('/'));
    const QString relFolder = slash < 0 ? QString() : rel.left(slash);
    if (!m_info.isFolder && m_checkedFolders.contains(relFolder)) {
        // The folder was made or found inside already; only the file itself is left to check.
        return writeFile(rel);
    }
    if (!staysInside(m_target.root, rel)) {
        // Checked before anything is made: a link among the folders could lead anywhere.
        refuse(SSZipArchive::ErrorUnsafeName);
        return true;
    }
    if (m_info.isFolder) {
        const QString target = m_dest.filePath(rel);
        if (!m_dest.mkpath(rel) || !isInside(m_target.root, target))
            refuse(isInside(m_target.root, target) ? SSZipArchive::ErrorWriteFile
                                                   : SSZipArchive::ErrorUnsafeName);
        else
            m_checkedFolders.insert(rel);
        return true;
    }
    const QString folder = QFileInfo(m_dest.filePath(rel)).path();
    if (!QDir().mkpath(folder) || !isInside(m_target.root, folder)) {
        refuse(isInside(m_target.root, folder) ? SSZipArchive::ErrorWriteFile
                                               : SSZipArchive::ErrorUnsafeName);
        return true;
    }
    m_checkedFolders.insert(relFolder);
    return writeFile(rel);
}

// Stages the current entry, a file whose folder is checked.
bool UnzipRun::writeFile(const QString &rel)
{
    const QString target = m_dest.filePath(rel);
    // A link standing at the target is refused when the file is moved in (see commit).
    if (!m_overwrite && (QFileInfo::exists(target) || m_pending.hasTarget(target)))
        return true;
    return writeCurrent([&](ZipEntryDevice &entry, QString *why) {
        return m_pending.write(entry, target, m_info.name, m_info.modified, why);
    });
}

} // namespace

bool SSZipArchive::unzipFileAtPath(const QString &path, const QString &destination, bool overwrite,
                                   const QString &password, ZipError *error)
{
    ZipReader reader;
    if (!reader.open(path)) {
        const QFileInfo fi(path);
        setError(error, ErrorOpenZip,
                 fi.exists() && !fi.isFile() ? QStringLiteral("%1 is not a regular file").arg(fi.fileName())
                                             : QString());
        return false;
    }
    if (reader.entryCount() == 0) {
        // An empty archive unpacks to nothing.
        if (!QDir().mkpath(destination)) {
            setError(error, ErrorWriteFile, destination);
            return false;
        }
        return true;
    }
    if (!reader.goToFirst()) {
        setError(error, ErrorFirstFile);
        return false;
    }
    UnzipTarget target;
    if (!openUnzipTarget(destination, &target, error))
        return false;
    // Unless committed, whatever was staged is removed when the run goes: a failed unpacking
    // changes no file.
    UnzipRun run(reader, target, overwrite, password, error);
    return run.stageAll() && run.commit(destination);
}

bool SSZipArchive::createZipFileAtPath(const QString &path, const QStringList &paths,
                                       QStringList *failedPaths, ZipError *error)
{
    SSZipArchive archive(path);
    if (!archive.open()) {
        setError(error, ErrorCreateZip, path);
        return false;
    }
    QStringList failed;
    for (QString p : paths) {
        while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
            p.chop(1);
        QFileInfo fi(p);
        QString name = fi.fileName();
        QString base = fi.path();
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
            const QFileInfo abs(QDir::cleanPath(fi.absoluteFilePath()));
            name = abs.fileName();
            base = abs.path();
        }
        if (name.isEmpty()) {
            failed << p;
            continue;
        }
        archive.writeFile(name, base, &failed);
    }
    const bool committed = archive.close(failed.isEmpty());
    if (failedPaths)
        *failedPaths = failed;
    if (!failed.isEmpty()) {
        setError(error, ErrorAddPath, failed.join(QStringLiteral(", ")));
        return false;
    }
    if (!committed) {
        setError(error, ErrorCreateZip, path);
        return false;
    }
    return true;
}

bool SSZipArchive::createZipFileAtPath(const QString &path, const QString &onePath, QStringList *failedPaths,
                                       ZipError *error)
{
    return createZipFileAtPath(path, QStringList{onePath}, failedPaths, error);
}

SSZipArchive::SSZipArchive(const QString &path) : m_path(path) {}

SSZipArchive::~SSZipArchive()
{
    if (m_zip)
        close(false);
}

bool SSZipArchive::open()
{
    Q_ASSERT_X(!m_zip, "SSZipArchive", "Attempting open an archive which is already open");
    if (m_zip)
        return false;
    m_file = std::make_unique<QSaveFile>(m_path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        return false;
    }
    zlib_filefunc64_def io;
    ZipDeviceIo::fill(&io, m_file.get());
    m_zip = zipOpen2_64("archive", APPEND_STATUS_CREATE, nullptr, &io);
    if (!m_zip) {
        m_file->cancelWriting();
        m_file.reset();
        return false;
    }
    m_failed = false;
    return true;
}

bool SSZipArchive::openEntry(const QString &name, const QDateTime &date, bool zip64)
{
    zip_fileinfo info{};
    const bool dated = date.isValid() && date.date().year() >= 1980;
    if (dated) {
        const QDateTime now = date.toLocalTime();
        info.tmz_date.tm_sec = uInt(now.time().second());
        info.tmz_date.tm_min = uInt(now.time().minute());
        info.tmz_date.tm_hour = uInt(now.time().hour());
        info.tmz_date.tm_mday = uInt(now.date().day());
        info.tmz_date.tm_mon = uInt(now.date().month() - 1);
        info.tmz_date.tm_year = uInt(now.date().year());
    }
    const QByteArray utf8 = name.toUtf8();
    // Flag bit 11 tells readers that the name is UTF-8.
    const int rc =
        zipOpenNewFileInZip4_64(static_cast<zipFile>(m_zip), utf8.constData(), &info, nullptr, 0, nullptr, 0,
                                nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                Z_DEFAULT_STRATEGY, nullptr, 0, 0, 1u << 11, zip64 ? 1 : 0);
    return rc == ZIP_OK;
}

bool SSZipArchive::writeFile(const QString &name, const QString &basePath, QStringList *failedPaths)
{
    Q_ASSERT_X(m_zip, "SSZipArchive", "Attempting to write to an archive which was never opened");
    const QString full = QDir(basePath).filePath(name);
    QStringList local;
    QStringList *failed = failedPaths ? failedPaths : &local;
    if (!m_zip) {
        *failed << full;
        return false;
    }
    const QFileInfo fi(full);
    bool ok;
    if (fi.isDir())
        ok = writeFolder(name, full, 0, failed);
    else if (!fi.isFile())
        ok = false; // missing, or a pipe or device that could block or never end
    else
        ok = writeFileEntry(name, full);
    if (!ok && !fi.isDir())
        *failed << full;
    if (!ok)
        m_failed = true;
    return ok;
}

bool SSZipArchive::writeFolder(const QString &name, const QString &fullPath, int depth,
                               QStringList *failedPaths)
{
    static thread_local QSet<QString> chain; // folders being walked, to stop at links to an ancestor
    const QString canonical = QFileInfo(fullPath).canonicalFilePath();
    QDir dir(fullPath);
    if (depth > kMaxFolderDepth || canonical.isEmpty() || chain.contains(canonical) || !dir.isReadable()) {
        *failedPaths << fullPath;
        return false;
    }
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    if (entries.isEmpty()) {
        if (!openEntry(name + QLatin1Char('/'), QFileInfo(fullPath).lastModified(), false)) {
            *failedPaths << fullPath;
            return false;
        }
        return zipCloseFileInZip(static_cast<zipFile>(m_zip)) == ZIP_OK;
    }
    chain.insert(canonical);
    bool ok = true;
    for (const QFileInfo &e : entries) {
        const QString childName = name + QLatin1Char('/') + e.fileName();
        if (e.isDir()) {
            ok = writeFolder(childName, e.filePath(), depth + 1, failedPaths) && ok;
        } else if (!e.isFile() || !writeFileEntry(childName, e.filePath())) {
            *failedPaths << e.filePath();
            ok = false;
        }
    }
    chain.remove(canonical);
    return ok;
}

bool SSZipArchive::writeFileEntry(const QString &name, const QString &fullPath)
{
    QFile in(fullPath);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    if (!openEntry(name, QFileInfo(fullPath).lastModified(), in.size() >= qint64(0xffffffffLL)))
        return false;
    auto *zip = static_cast<zipFile>(m_zip);
    bool ok = true;
    char buf[16384];
    for (;;) {
        const qint64 n = in.read(buf, sizeof buf);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (zipWriteInFileInZip(zip, buf, unsigned(n)) != ZIP_OK) {
            ok = false;
            break;
        }
    }
    return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

bool SSZipArchive::writeData(const QByteArray &data, const QString &filename)
{
    if (!m_zip)
        return false;
    bool ok = openEntry(filename, QDateTime::currentDateTime(), data.size() >= qint64(0xffffffffLL));
    auto *zip = static_cast<zipFile>(m_zip);
    for (qsizetype at = 0; ok && at < data.size();) {
        const unsigned n = unsigned(std::min<qsizetype>(data.size() - at, 1 << 20));
        ok = zipWriteInFileInZip(zip, data.constData() + at, n) == ZIP_OK;
        at += n;
    }
    ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    if (!ok)
        m_failed = true;
    return ok;
}

bool SSZipArchive::close(bool commit)
{
    Q_ASSERT_X(m_zip, "SSZipArchive", "Attempting to close an archive which was never opened");
    if (!m_zip)
        return false;
    const bool closed = zipClose(static_cast<zipFile>(m_zip), nullptr) == ZIP_OK;
    m_zip = nullptr;
    bool ok = false;
    if (commit && closed && !m_failed)
        ok = SaveFileCommit::commit(*m_file);
    else
        m_file->cancelWriting();
    m_file.reset();
    return ok;
}
