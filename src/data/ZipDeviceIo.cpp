#include "ZipDeviceIo.h"

#include <QIODevice>

#include <algorithm>
#include <climits>
#include <cstring>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

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

// Where a minizip seek lands, from its origin's position; -1 for an unknown origin or an offset
// past what a position can hold. The end is asked for only when the seek is from the end.
template <typename End> qint64 seekTarget(int origin, ZPOS64_T offset, qint64 current, End end)
{
    qint64 base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        base = 0;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = current;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = end();
        break;
    default:
        return -1;
    }
    if (base < 0 || offset > ZPOS64_T(LLONG_MAX - base))
        return -1;
    return base + qint64(offset);
}

long ZCALLBACK seekDevice(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    QIODevice *d = dev(stream);
    const qint64 target = seekTarget(origin, offset, d->pos(), [d] { return d->size(); });
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

ZipReadWindow *win(voidpf stream)
{
    return static_cast<ZipReadWindow *>(stream);
}

voidpf ZCALLBACK openWindow(voidpf opaque, const void *, int)
{
    auto *w = static_cast<ZipReadWindow *>(opaque);
    return w && w->device && w->device->isOpen() ? w : nullptr;
}

uLong ZCALLBACK readWindow(voidpf, voidpf stream, void *buf, uLong size)
{
    ZipReadWindow *w = win(stream);
    const auto readAt = [w](char *to, qint64 n) -> qint64 {
        if (w->fd >= 0) {
            for (;;) {
                const ssize_t got = ::pread(w->fd, to, size_t(n), off_t(w->pos));
                if (got >= 0 || errno != EINTR)
                    return got;
            }
        }
        return w->device->seek(w->pos) ? w->device->read(to, n) : -1;
    };
    char *out = static_cast<char *>(buf);
    qint64 done = 0;
    while (done < qint64(size)) {
        const qint64 want = qint64(size) - done;
        bool served = false;
        for (int k = 0; k < 2 && !served; ++k) {
            ZipReadWindow::Slot &slot = w->parts[k];
            const qint64 end = slot.start + slot.bytes.size();
            if (w->pos >= slot.start && w->pos < end) {
                const qint64 n = std::min(want, end - w->pos);
                std::memcpy(out + done, slot.bytes.constData() + (w->pos - slot.start), size_t(n));
                w->pos += n;
                done += n;
                w->lastUsed = k;
                served = true;
            }
        }
        if (served)
            continue;
        if (want >= ZipReadWindow::Size) { // a large read goes straight into minizip's buffer
            const qint64 n = readAt(out + done, want);
            if (n <= 0)
                break;
            w->pos += n;
            done += n;
            continue;
        }
        // The slot not used last is filled, so the other place minizip reads from stays at hand.
        const int k = 1 - w->lastUsed;
        ZipReadWindow::Slot &slot = w->parts[k];
        slot.bytes.resize(ZipReadWindow::Size);
        const qint64 n = readAt(slot.bytes.data(), ZipReadWindow::Size);
        if (n <= 0) {
            slot.bytes.clear();
            break;
        }
        slot.bytes.resize(n);
        slot.start = w->pos;
        w->lastUsed = k;
    }
    return uLong(done);
}

uLong ZCALLBACK writeNothing(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK tellWindow(voidpf, voidpf stream)
{
    return ZPOS64_T(win(stream)->pos);
}

long ZCALLBACK seekWindow(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    ZipReadWindow *w = win(stream);
    const qint64 target = seekTarget(origin, offset, w->pos,
                                     [w] { return w->fileSize >= 0 ? w->fileSize : w->device->size(); });
    if (target < 0)
        return -1;
    w->pos = target; // the device seeks only when the window must be filled
    return 0;
}

} // namespace

void ZipReadWindow::check(int fd)
{
    struct stat st {
    };
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        clear();
        return;
    }
    const qint64 changed = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    if (qint64(st.st_size) != fileSize || changed != changedNs) {
        clear();
        fileSize = st.st_size;
        changedNs = changed;
    }
}

void ZipDeviceIo::fillReader(zlib_filefunc64_def *def, ZipReadWindow *window)
{
    window->pos = 0;
    window->clear();
    window->fileSize = -1;
    window->changedNs = -1;
    if (window->fd >= 0)
        window->check(window->fd);
    def->zopen64_file = openWindow;
    def->zread_file = readWindow;
    def->zwrite_file = writeNothing;
    def->ztell64_file = tellWindow;
    def->zseek64_file = seekWindow;
    def->zclose_file = closeDevice;
    def->zerror_file = errorDevice;
    def->opaque = window;
}

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
