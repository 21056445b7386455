// Adapts a QIODevice to minizip's file functions, so archives are read from any QFile and written
// through QSaveFile (atomically) with paths handled by Qt rather than by fopen.
#pragma once

#include <minizip/ioapi.h>

class QIODevice;

class ZipDeviceIo
{
public:
    // Fills def so that minizip reads and writes the already open device; the device stays owned
    // by the caller and is not closed by minizip.
    static void fill(zlib_filefunc64_def *def, QIODevice *device);
};
