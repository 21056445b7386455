#include "barcode/ReedSolomon.h"

const ReedSolomon &ReedSolomon::qrCode()
{
    static const ReedSolomon field(0x11D, 0);
    return field;
}

const ReedSolomon &ReedSolomon::dataMatrix()
{
    static const ReedSolomon field(0x12D, 1);
    return field;
}

ReedSolomon::ReedSolomon(int fieldPolynomial, int firstRoot) : m_firstRoot(firstRoot)
{
    int x = 1;
    for (int e = 0; e < 255; ++e) {
        m_exp[size_t(e)] = uint8_t(x);
        m_log[size_t(x)] = e;
        x <<= 1;
        if (x & 0x100)
            x ^= fieldPolynomial;
    }
}

std::vector<uint8_t> ReedSolomon::generator(int n) const
{
    // Multiplied out one root at a time; g[0] is the leading coefficient, always 1.
    std::vector<uint8_t> g(size_t(n) + 1, 0);
    g[0] = 1;
    for (int i = 0; i < n; ++i) {
        const uint8_t root = power(m_firstRoot + i);
        for (int j = i + 1; j >= 1; --j)
            g[size_t(j)] ^= multiply(g[size_t(j - 1)], root);
    }
    return std::vector<uint8_t>(g.begin() + 1, g.end());
}

std::vector<uint8_t> ReedSolomon::checkCodewords(const uint8_t *data, int count, int n) const
{
    if (n <= 0)
        return {};
    const std::vector<uint8_t> g = generator(n);
    std::vector<uint8_t> remainder(size_t(n), 0);
    for (int i = 0; i < count; ++i) {
        const uint8_t factor = data[i] ^ remainder[0];
        for (int k = 0; k + 1 < n; ++k)
            remainder[size_t(k)] = remainder[size_t(k + 1)] ^ multiply(g[size_t(k)], factor);
        remainder[size_t(n - 1)] = multiply(g[size_t(n - 1)], factor);
    }
    return remainder;
}
