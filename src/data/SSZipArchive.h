// Packs files and folders into zip archives and unpacks archives into folders, over minizip.
// Entries are named relative to the folder holding each given path; unpacking stays inside its target.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <memory>

struct ZipError {
    QString domain;
    int code = 0;
    QString message; // the localized description
};

class SSZipArchive
{
public:
    static constexpr const char *ErrorDomain = "SSZipArchiveErrorDomain";
    enum ErrorCode {
        ErrorOpenZip = -1,    // "failed to open zip file"
        ErrorFirstFile = -2,  // "failed to open first file in zip file"
        ErrorOpenEntry = -3,  // an entry could not be opened or its header read
        ErrorReadEntry = -4,  // a read or checksum error inside an entry
        ErrorUnsafeName = -5, // an entry named outside the destination
        ErrorWriteFile = -6,  // a file or folder of an entry could not be created
        ErrorCreateZip = -7,  // the archive to write could not be created
        ErrorAddPath = -8,    // a path to pack could not be added
    };

    // Unpacks every entry into destination; true only when every entry was written.
    static bool unzipFileAtPath(const QString &path, const QString &destination, bool overwrite = true,
                                const QString &password = {}, ZipError *error = nullptr);

    // Packs the given files and folders; true only when all of them were added. failedPaths
    // receives each path (or file below a given folder) that could not be added. On failure the
    // file at path is left as it was.
    static bool createZipFileAtPath(const QString &path, const QStringList &paths,
                                    QStringList *failedPaths = nullptr, ZipError *error = nullptr);
    static bool createZipFileAtPath(const QString &path, const QString &onePath,
                                    QStringList *failedPaths = nullptr, ZipError *error = nullptr);

    explicit SSZipArchive(const QString &path);
    ~SSZipArchive();
    SSZipArchive(const SSZipArchive &) = delete;
    SSZipArchive &operator=(const SSZipArchive &) = delete;

    bool open();
    // Adds the file or folder basePath/name under the entry name "name"; failures are listed.
    bool writeFile(const QString &name, const QString &basePath, QStringList *failedPaths = nullptr);
    bool writeData(const QByteArray &data, const QString &filename);
    // Finishes the archive; commit false (or any earlier failure) leaves the old file in place.
    bool close(bool commit = true);

private:
    bool writeFileEntry(const QString &name, const QString &fullPath);
    bool writeFolder(const QString &name, const QString &fullPath, int depth, QStringList *failedPaths);
    bool openEntry(const QString &name, const QDateTime &date, bool zip64);

    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
    void *m_zip = nullptr;
    bool m_failed = false;
};
