// Reads a user's picture within an explicit budget: a regular file of bounded size, no more
// pixels than a card needs (larger pictures are read scaled down, JPEG inside its decoder),
// and no JPEG made of so many scans that decoding would stall. Every user picture goes through here.
#pragma once

#include "platform/EncodedPicture.h"
#include "platform/Picture.h"

#include <QByteArray>
#include <QSize>
#include <QString>

class QIODevice;

class PictureReader
{
public:
    // The budget. A picture file may hold at most MaxFileBytes; its header may claim at most
    // MaxSourcePixels (a 200-megapixel photo passes); it is kept with at most CardPixels pixels,
    // enough for the largest card at 450 dpi. Decoders may allocate at most DecodeBudgetMiB for
    // one picture. A progressive JPEG may have at most MaxScans scans.
    static constexpr qint64 MaxFileBytes = qint64(256) * 1024 * 1024;
    static constexpr qint64 MaxSourcePixels = qint64(1) << 28; // 268 million
    static constexpr qint64 CardPixels = 16'000'000;
    static constexpr int DecodeBudgetMiB = 256;
    static constexpr int MaxScans = 300;
    // Pictures of more pixels than this are kept encoded and decoded at the size they are drawn
    // (EncodedPicture); smaller ones are decoded once and kept.
    static constexpr qint64 EncodedPixels = 1'000'000;

    struct Result {
        Picture picture; // null when the picture cannot be used
        QString error;   // why, as the end of a sentence: "the picture is too large"
        bool ok() const { return error.isEmpty(); }
    };

    // The picture in the file, with at most maxPixels pixels. A picture read scaled down keeps its
    // full size in points, so it lays out as if read whole. Turned upright as its EXIF data says.
    // A large picture is checked by decoding it small and then kept as its path: it is decoded
    // again, at the size it is drawn, from the file as it is then.
    static Result readFile(const QString &path, qint64 maxPixels = CardPixels);
    // The same, keeping the file's bytes, so the picture stays what it was whatever happens to
    // the file (a background, which a design stores).
    static Result readFileBytes(const QString &path, qint64 maxPixels = CardPixels);
    // The same for encoded bytes already in memory (a picture kept inside a design).
    static Result readData(const QByteArray &encoded, qint64 maxPixels = CardPixels);
    // Pixels of an encoded picture, upright: scaled to `stored` pixels (as the file stores them,
    // before turning) when valid, else the full read within maxPixels. Null when it no longer reads.
    static QImage decode(const EncodedPicture::Origin &origin, QSize stored, qint64 maxPixels);
    // The picture fitted into a square of `side` pixels, for a browser; null with `error` set
    // when it cannot be read.
    static QImage readThumbnail(const QString &path, int side, QString *error = nullptr);
    // Whether the file would be read, checked from its header alone (cheap): the error, or "".
    static QString probe(const QString &path);

    // "Cannot use the picture "name": <error>." for a message box.
    static QString userMessage(const QString &path, const QString &error);

    // The scans of a JPEG stream (start-of-scan markers), counting no further than stopAfter;
    // -1 when the stream is not a JPEG. Reads from the device's current position.
    static int countJpegScans(QIODevice &device, int stopAfter);

private:
    struct Request {
        qint64 maxPixels = CardPixels;
        QSize box;                                           // fitted into this box when valid
        QSize exact;                                         // scaled to these stored pixels when valid
        bool probeOnly = false;                              // checks alone
        const EncodedPicture::Origin *keepEncoded = nullptr; // a large picture stays encoded here
    };
    static Result read(QIODevice &device, const QByteArray &formatHint, const Request &request);
    static Result readFileAs(const QString &path, qint64 maxPixels, bool keepBytes);
};
