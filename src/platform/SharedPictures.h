// One decoded picture per file: every object that shows the same unchanged file gets the same
// pixels, which are freed once no picture uses them. Safe to use from any thread.
#pragma once

#include "platform/PictureReader.h"

#include <QString>

#include <memory>

class SharedPictures
{
public:
    // Keeps the pictures given to it alive past their last object, the most recently given first,
    // up to MostKept pictures and MostKeptBytes of pixels held decoded (a large picture kept encoded
    // counts none: its decodings are the decoding cache's). Held by a run, so that a file its rows
    // name on many cards is read and decoded once while the cache holds it. Safe from any thread.
    class Recent
    {
    public:
        Recent();
        ~Recent();
        void keep(const Picture &picture);
        static constexpr int MostKept = 1024;
        static constexpr qint64 MostKeptBytes = qint64(64) * 1024 * 1024;

    private:
        struct Table;
        std::unique_ptr<Table> m_table;
    };

    // The picture in the file as PictureReader::readFile reads it, decoded only when no picture
    // read from the same file (same path, device, inode, size and modification time) and budget
    // still lives.
    static PictureReader::Result read(const QString &path, qint64 maxPixels = PictureReader::CardPixels);
    // How many decoded pictures are held by some picture now (tests).
    static int liveCount();
};
