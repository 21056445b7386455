// PDF417 encoder: chooses segments and compaction modes, the symbol shape and the error level,
// computes the error-correction codewords and paints the symbol as one bit row per symbol row.
#pragma once

#include <QByteArray>

#include <vector>

// The parameter record: the caller fills the inputs, paintCode() fills the results.
struct PDF417Param {
    // Option bits.
    static constexpr int FixedRectangle = 1;
    static constexpr int FixedColumns = 2;
    static constexpr int FixedRows = 4;
    static constexpr int UseErrorLevel = 16;
    static constexpr int RawCodewords = 64; // codewords supplied by the caller
    static constexpr int InvertBits = 128;  // a 0 bit is a dark module
    // Error codes.
    static constexpr int ErrorNone = 0;
    static constexpr int ErrorTextTooBig = 1;
    static constexpr int ErrorInvalidParams = 2;

    QByteArray outBits;  // result: rows of whole bytes, most significant bit first
    int lenBits = 0;     // result: bytes in outBits
    int bitColumns = 0;  // result: modules per row, 17 x (codeColumns + 3) + 18
    int codeRows = 0;    // rows, 3 to 90
    int codeColumns = 0; // data columns, 1 to 30
    int codewords[928] = {};
    int lenCodewords = 0; // after encoding, rows x columns
    int errorLevel = 0;   // 0 to 8; after encoding, the level used
    QByteArray text;      // the bytes to encode
    int lenText = -1;     // below 0: all of text
    int options = 0;
    float aspectRatio = 0.5f;
    float yHeight = 3.0f;
    int eci = -1;  // ECI designator written ahead of the data (26 for UTF-8), -1 none
    int error = 0; // result
};

class PDF417Encoder
{
public:
    static void pdf417init(PDF417Param &p);
    static void paintCode(PDF417Param &p);
    static void pdf417free(PDF417Param &p);

    // Largest level 8..1 whose 2^(level+1) codewords fit into n, else 0.
    static int maxPossibleErrorLevel(int n);
    // True when the row bit at (column, row) is set in the painted matrix.
    static bool bitAt(const PDF417Param &p, int column, int row);

    // A segment of the text, for the compaction stage.
    struct Segment {
        char type; // 'T' text, 'N' numeric, 'B' byte
        int start;
        int end; // exclusive
        int length() const { return end - start; }
    };
    // Segmentation of text[0, length); public so that tests can check the merging rules.
    static std::vector<Segment> breakString(const QByteArray &text, int length);

private:
    explicit PDF417Encoder(PDF417Param &p) : m_p(p) {}

    // Compaction stage (PDF417Compaction.cpp).
    void assemble(const std::vector<Segment> &list);
    void textCompaction(int start, int length);
    void byteCompaction(int start, int length);
    void byteCompaction6(int start);
    void numberCompaction(int start, int length);
    void basicNumberCompaction(int start, int length);

    // Symbol stage (PDF417Encoder.cpp).
    void calculateErrorCorrection(int dest);
    void outBits(int pattern, int count);
    void outPaintCode();
    static void getMaxSquare(PDF417Param &p);
    bool loadCodewords();
    static void chooseErrorLevel(PDF417Param &p);
    static void chooseShape(PDF417Param &p, int total);

    PDF417Param &m_p;
    int m_cwPtr = 1;
    int m_bitPtr = 0;
};
