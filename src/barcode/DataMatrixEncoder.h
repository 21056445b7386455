// Data Matrix (ECC200) symbols through the iec16022 library (with ECI, our own writer): the size
// and encoding choices of the barcode window, the module grid, its EPS page and its picture.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>

// The module grid of one symbol, or the reason why there is none.
struct DataMatrixSymbol {
    QByteArray grid; // width x height bytes, row 0 the bottom row, nonzero a dark module
    int width = 0;   // modules
    int height = 0;
    int encodedBytes = 0; // the library's counters: data codewords used, capacity, ecc codewords
    int capacity = 0;
    int eccBytes = 0;
    QByteArray value;    // the bytes encoded: ISO 8859-1, or UTF-8 behind an ECI
    QByteArray encoding; // the encoding string handed to the library (empty: its own choice)
    QString error;       // shown to the user as it stands
    QString libraryText; // what the library printed, for the log only

    bool ok() const { return error.isEmpty() && width > 0 && height > 0; }
    // x from the left, y from the top of the symbol as seen.
    bool isDark(int x, int y) const;
    // The diagnostic lines of a failed encoding, for the log.
    QString report() const;
};

class DataMatrixEncoder
{
public:
    // The window's choices, in their order.
    static QStringList formats();   // "Auto", "C10X10", ... "C16X48"
    static QStringList encodings(); // "Auto", "Ascii", "C40", "Text", "Base256"

    // "C8X18" asks for 8 rows of 18 modules; "Auto" (or anything without an "X") for 0 x 0.
    static void parseFormat(const QString &format, int &rows, int &columns);
    // One letter per byte for "Ascii", "C40", "Text", "Base256"; empty for "Auto" and others.
    // C40 and Text runs end where their values fill whole triples; the rest goes as ASCII,
    // because the library pads a partial triple with a value that decoders read as a NUL.
    static QByteArray encodingString(const QString &encoding, const QByteArray &bytes);

    // Encodes the value at the chosen size and encoding; "Auto" (or an unknown name) takes the
    // smallest symbol of the encodings above. A value within ISO 8859-1 is encoded in it; any
    // other as UTF-8 behind ECI 26, in ASCII or Base256 ("Ascii", "Base256"; otherwise the
    // smaller of the two).
    static DataMatrixSymbol encode(const QString &value, const QString &format, const QString &encoding);
    static DataMatrixSymbol encodeBytes(const QByteArray &bytes, int rows, int columns,
                                        const QByteArray &encoding);

    // The EPS page of a grid: a (W + 2) x (H + 2) bounding box and the modules as a 1-bit image.
    static QByteArray makeEPS_Data_Matrix(const QByteArray &value, int W, int H, const QByteArray &grid);
    // The page drawn directly: ceil(dpi x (W + 2) / 72) by ceil(dpi x (H + 2) / 72) pixels (at
    // least one per unit), modules black on white, the one-unit border transparent. Null on failure.
    static QImage pageImage(const DataMatrixSymbol &symbol, int dpi);
    // The page's size in points: W x module by H x module.
    static QSizeF pageSize(const DataMatrixSymbol &symbol, int moduleSize);

private:
    // Why the bytes cannot go into a symbol of that size with that encoding string, or "".
    static QString inputProblem(const QByteArray &bytes, int rows, int columns, const QByteArray &encoding);
    static DataMatrixSymbol encodeAutomatically(const QByteArray &bytes, int rows, int columns);
    static DataMatrixSymbol encodeUtf8(const QByteArray &bytes, const QString &format,
                                       const QString &encoding);
};
