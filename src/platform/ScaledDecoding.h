// Decoders that read a picture straight to a smaller size, holding little more than that size:
// PNG through libspng (every colour type and depth, transparency as a full read gives it) and
// JPEG through libjpeg at the reduction its transform offers (1/2, 1/4, 1/8), each averaged
// over the pixels it covers to the exact size asked. Qt's own scaled PNG reading loses or
// squares partial transparency, and its JPEG reading is not told every reduction it could use.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

class QIODevice;

namespace ScaledDecoding
{
// The signatures, peeked at the device's position.
bool isPng(QIODevice &device);
bool isJpeg(QIODevice &device);
// An interlaced PNG is decoded whole before it is scaled, at 4 bytes a pixel.
bool isInterlacedPng(QIODevice &device);

// The picture from the device's position on, as stored (not turned), scaled to `size`; null
// when it does not read, with the decoder's reason in `error` where it gives one. PNG gives premultiplied
// ARGB32; JPEG RGB32 or grey.
QImage png(QIODevice &device, QSize size, QString *error);
QImage jpeg(QIODevice &device, QSize size, QString *error);
// The pixels the JPEG decoder has given since the program started, at the reduction it read at:
// what a reduced read saves is seen here.
qint64 jpegPixelsDecoded();

// The pixels averaged over the area each output pixel covers: rows of `channels` (1 or 4) bytes a
// pixel (premultiplied where there is alpha) go in from the top, and `out`, of the output size, is
// filled as they come.
class AreaScaler
{
public:
    AreaScaler(QSize from, QImage *out, int channels);
    void addRow(const uchar *row);
    int rowsTaken() const { return m_y; }

private:
    void emitRow(int ty);

    QSize m_from;
    QImage *m_out;
    int m_channels;
    double m_sy;
    std::vector<int> m_first;    // a column's first source pixel
    std::vector<int> m_count;    // and how many it covers
    std::vector<float> m_weight; // their shares, flattened
    std::vector<float> m_row;    // the current source row averaged across
    std::vector<float> m_acc;    // the output rows still open, a ring
    int m_ring = 1;
    int m_y = 0;    // source rows taken
    int m_next = 0; // the next output row to write
};
} // namespace ScaledDecoding
