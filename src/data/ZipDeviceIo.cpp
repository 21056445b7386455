// Adapts a QIODevice to minizip's file functions, so archives are read from any QFile and written
// through QSaveFile (atomically) with paths handled by Qt rather than by fopen.
#include "ZipDeviceIo.h"

#include <QIODevice>

#include <climits>

namespace
{

QIODevice *dev(voidpf stream)
{
    return static_cast<QIODevice *>(stream);
}

voidpf ZCALLBACK openDevice(voidpf opaque, const void *, int)
{
    auto *d = static_cast<QIODevice *>(opaque);
    return d && d->isOpen() ? d : nullptr;
}

uLong ZCALLBACK readDevice(voidpf, voidpf stream, void *buf, uLong size)
{
    const qint64 n = dev(stream)->read(static_cast<char *>(buf), qint64(size));
    return n < 0 ? 0 : uLong(n);
}

uLong ZCALLBACK writeDevice(voidpf, voidpf stream, const void *buf, uLong size)
{
    const qint64 n = dev(stream)->write(static_cast<const char *>(buf), qint64(size));
    return n < 0 ? 0 : uLong(n);
}

ZPOS64_T ZCALLBACK tellDevice(voidpf, voidpf stream)
{
    return ZPOS64_T(dev(stream)->pos());
}

long ZCALLBACK seekDevice(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    QIODevice *d = dev(stream);
    qint64 base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        base = 0;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = d->pos();
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = d->size();
        break;
    default:
        return -1;
    }
    if (offset > ZPOS64_T(LLONG_MAX - base))
        return -1;
    const qint64 target = base + qint64(offset);
    // Reading past the end would give short reads that minizip treats as errors anyway.
    if (target < 0)
        return -1;
    return d->seek(target) ? 0 : -1;
}

int ZCALLBACK closeDevice(voidpf, voidpf)
{
    return 0; // the owner closes (or commits) the device
}

int ZCALLBACK errorDevice(voidpf, voidpf)
{
    return 0;
}

} // namespace

void ZipDeviceIo::fill(zlib_filefunc64_def *def, QIODevice *device)
{
    def->zopen64_file = openDevice;
    def->zread_file = readDevice;
    def->zwrite_file = writeDevice;
    def->ztell64_file = tellDevice;
    def->zseek64_file = seekDevice;
    def->zclose_file = closeDevice;
    def->zerror_file = errorDevice;
    def->opaque = device;
}
