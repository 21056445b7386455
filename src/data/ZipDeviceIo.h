// Adapts a QIODevice to minizip's file functions, so archives are read from any QFile and written
// through QSaveFile (atomically) with paths handled by Qt rather than by fopen.
#pragma once

#include <minizip/ioapi.h>

#include <QByteArray>
#include <QtGlobal>

class QIODevice;

// Two windows of an archive read ahead, so that minizip's many small reads and seeks near one
// another cost no system call and no refill of a device buffer: one follows the central directory,
// the other the entries' headers and data, which minizip visits in turn.
struct ZipReadWindow {
    static constexpr qint64 Size = 64 * 1024;
    QIODevice *device = nullptr;
    int fd = -1;    // when set, read with pread: no seek and no size query of the device per read
    qint64 pos = 0; // where minizip reads next
    struct Slot {
        qint64 start = 0; // the archive offset of bytes[0]
        QByteArray bytes;
    };
    Slot parts[2];
    int lastUsed = 0;
    void clear()
    {
        parts[0] = Slot();
        parts[1] = Slot();
    }
    // The archive's size and change time when the window was last known good (see check).
    qint64 fileSize = -1;
    qint64 changedNs = -1;

    // Forgets the window when the archive changed on disk since it was filled (rewritten in
    // place by another program), so such a change is read and noticed instead of old bytes.
    void check(int fd);
};

class ZipDeviceIo
{
public:
    // Fills def so that minizip reads and writes the already open device; the device stays owned
    // by the caller and is not closed by minizip.
    static void fill(zlib_filefunc64_def *def, QIODevice *device);
    // For reading only: minizip reads window->device through the window (best opened unbuffered).
    static void fillReader(zlib_filefunc64_def *def, ZipReadWindow *window);
};
