// One decoded picture per file: every object that shows the same unchanged file gets the same
// pixels, which are freed once no picture uses them. Safe to use from any thread.
#pragma once

#include "platform/PictureReader.h"

#include <QString>

class SharedPictures
{
public:
    // The picture in the file as PictureReader::readFile reads it, decoded only when no picture
    // read from the same file (same path, device, inode, size and modification time) and budget
    // still lives.
    static PictureReader::Result read(const QString &path, qint64 maxPixels = PictureReader::CardPixels);
    // How many decoded pictures are held by some picture now (tests).
    static int liveCount();
};
