// A small memory file system mounted for a test, so that a disk can be filled up; tests skip
// where mounting is not allowed.
#pragma once

#include <QFile>
#include <QStorageInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>

// A tmpfs of the given size at a private folder, unmounted again when the test ends.
class SmallDisk
{
public:
    explicit SmallDisk(const char *size)
    {
        const QString options = QStringLiteral("size=%1,mode=0777").arg(QLatin1String(size));
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            options.toLatin1().constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount(QFile::encodeName(m_dir.path()).constData());
    }
    bool mounted() const { return m_mounted; }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Leaves about `left` bytes free.
    void fillUpTo(qint64 left) const
    {
        QFile fill(path(QStringLiteral("fill")));
        ASSERT_TRUE(fill.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        QStorageInfo info(m_dir.path());
        while (info.bytesAvailable() > left) {
            if (fill.write(block) != block.size() || !fill.flush())
                break;
            info.refresh();
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
