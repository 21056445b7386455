// Data Matrix (ECC200) symbols whose data begin with an ECI designator, which the iec16022 library
// cannot write: codewords in ASCII or Base256, Reed-Solomon blocks and the module placement.
#pragma once

#include "DataMatrixEncoder.h"

#include <QByteArray>

#include <vector>

class DataMatrixEcc200
{
public:
    enum class Mode { Ascii, Base256, Smallest };

    // The data codewords: the ECI designator, then the bytes in the mode (Smallest: whichever of
    // ASCII and Base256 needs fewer codewords). Not padded.
    static std::vector<int> dataCodewords(const QByteArray &bytes, int eci, Mode mode);

    // A symbol of rows x columns modules (0 x 0: the smallest that holds the data). The symbol
    // has no grid (width 0) when the data do not fit; its capacity tells the codewords of the
    // size tried.
    static DataMatrixSymbol encode(const QByteArray &bytes, int eci, int rows, int columns, Mode mode);

    struct Size {
        int rows, columns; // modules, finder patterns included
        int regionRows, regionColumns;
        int dataCodewords, eccCodewords, blocks;
    };
    // The symbol sizes, the squares from the smallest, then the rectangles.
    static const std::vector<Size> &sizes();

private:
    static std::vector<int> withErrorCorrection(std::vector<int> data, const Size &size);
    static QByteArray moduleGrid(const std::vector<int> &codewords, const Size &size);
};
