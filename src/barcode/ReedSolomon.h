// Reed-Solomon check codewords over GF(256), one encoder for every symbology that needs them: the
// field is given by its polynomial and the generator by the exponent of its first root.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class ReedSolomon
{
public:
    // x^8 + x^4 + x^3 + x^2 + 1, generator roots from alpha^0: QR Code.
    static const ReedSolomon &qrCode();
    // x^8 + x^5 + x^3 + x^2 + 1, generator roots from alpha^1: Data Matrix (ECC200).
    static const ReedSolomon &dataMatrix();

    // fieldPolynomial: a primitive polynomial of degree 8 (bit 8 set); the generator of n check
    // codewords is (x - alpha^firstRoot) ... (x - alpha^(firstRoot + n - 1)).
    ReedSolomon(int fieldPolynomial, int firstRoot);

    // The n check codewords of one block: the remainder of data x^n by the generator.
    std::vector<uint8_t> checkCodewords(const uint8_t *data, int count, int n) const;
    std::vector<uint8_t> checkCodewords(const std::vector<uint8_t> &data, int n) const
    {
        return checkCodewords(data.data(), int(data.size()), n);
    }

    uint8_t multiply(uint8_t a, uint8_t b) const
    {
        return a == 0 || b == 0 ? 0 : m_exp[(m_log[a] + m_log[b]) % 255];
    }
    // alpha^e for any e >= 0.
    uint8_t power(int e) const { return m_exp[std::size_t(e % 255)]; }
    int firstRoot() const { return m_firstRoot; }

private:
    // The generator's coefficients after the leading 1, highest power first.
    std::vector<uint8_t> generator(int n) const;

    std::array<uint8_t, 255> m_exp{};
    std::array<int, 256> m_log{};
    int m_firstRoot = 0;
};
