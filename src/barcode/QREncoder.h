// Turns a text into a QR Code module matrix and paints a matrix into a square picture.
// Stateless: every call makes its own engine, so any thread may encode at the same time.
#pragma once

#include "DataMatrix.h"
#include "platform/OpResult.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A matrix, or why there is none: the message is shown to the user as it stands.
struct QREncodeResult : OpResult {
    DataMatrix matrix;

    // Done, with modules to paint.
    bool ok() const { return OpResult::ok() && !matrix.isEmpty(); }
    void fail(const QString &message) { static_cast<OpResult &>(*this) = OpResult::failed(message); }
};

// The side of the symbol in modules, or why there is none.
struct QRSizeResult : OpResult {
    int dimension = 0;

    bool ok() const { return OpResult::ok() && dimension > 0; }
    void fail(const QString &message) { static_cast<OpResult &>(*this) = OpResult::failed(message); }
};

class QREncoder
{
public:
    // level 0-3 (L, M, Q, H); version 0 picks the smallest version that holds the text at that
    // level, 1-40 asks for exactly that version. Text outside ASCII goes as UTF-8 bytes behind
    // an ECI 26 header. The mask is chosen by penalty score.
    static QREncodeResult encodeWithECLevel(int level, int version, const QString &string);
    // The same for bytes as they are (ECI 26 is declared when any byte is outside ASCII).
    static QREncodeResult encodeCStringWithECLevel(int level, int version, const QByteArray &cstring);
    // The side encodeWithECLevel's matrix would have, or its refusal in the same words, without
    // laying out the modules or choosing the mask.
    static QRSizeResult sizeWithECLevel(int level, int version, const QString &string);

    // A square image of imageDimension pixels, each module an equal whole number of pixels (at
    // least one, so a side smaller than the matrix grows to the matrix), centred, with the
    // remainder as transparent white margins. Format ARGB32; null for an empty matrix.
    // The caller raises it to the output resolution.
    static QImage renderDataMatrix(const DataMatrix &matrix, int imageDimension);

    // Smallest picture side in pixels for a version position (0 automatic): one pixel per module.
    static int minimumImageDimension(int version);
};
