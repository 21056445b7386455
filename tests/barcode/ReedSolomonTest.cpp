// The one Reed-Solomon encoder of QR Code and Data Matrix: every block it completes is a codeword
// of its code, that is, the whole block vanishes at each root of the generator.
#include "barcode/ReedSolomon.h"

#include <gtest/gtest.h>

#include <random>

namespace
{

// The block read as a polynomial (first codeword the highest power) at x = alpha^e.
uint8_t valueAt(const ReedSolomon &rs, const std::vector<uint8_t> &block, int e)
{
    uint8_t sum = 0;
    for (const uint8_t c : block)
        sum = rs.multiply(sum, rs.power(e)) ^ c;
    return sum;
}

} // namespace

TEST(ReedSolomonTest, BlocksVanishAtTheGeneratorsRootsInBothFields)
{
    std::mt19937 random(7);
    const struct {
        const char *name;
        const ReedSolomon &rs;
        int maxCheck;
    } codes[] = {{"QR Code", ReedSolomon::qrCode(), 30}, {"Data Matrix", ReedSolomon::dataMatrix(), 68}};
    for (const auto &code : codes) {
        for (const int n : {5, 7, 10, 18, 30, code.maxCheck}) {
            for (const int length : {1, 3, 19, 156}) {
                std::vector<uint8_t> block(static_cast<size_t>(length));
                for (uint8_t &c : block)
                    c = uint8_t(random());
                const std::vector<uint8_t> check = code.rs.checkCodewords(block, n);
                ASSERT_EQ(check.size(), size_t(n));
                block.insert(block.end(), check.begin(), check.end());
                for (int i = 0; i < n; ++i)
                    EXPECT_EQ(valueAt(code.rs, block, code.rs.firstRoot() + i), 0)
                        << code.name << ": " << n << " check codewords after " << length << ", root " << i;
            }
        }
    }
    // The fields differ: the same data gets other check codewords under each.
    const std::vector<uint8_t> data{0x10, 0x20, 0x0C, 0x56};
    EXPECT_NE(ReedSolomon::qrCode().checkCodewords(data, 10), ReedSolomon(0x12D, 0).checkCodewords(data, 10));
}

TEST(ReedSolomonTest, EachFieldGivesTheStandardsWorkedExamples)
{
    const struct {
        const char *name;
        const ReedSolomon &rs;
        std::vector<uint8_t> data, check;
    } examples[] = {
        // "01234567" as a QR Code 1-M symbol: numeric mode, 8 digits, padded to 16 codewords.
        {"QR Code 1-M",
         ReedSolomon::qrCode(),
         {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11},
         {0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55}},
        // "123456" as a 10 x 10 Data Matrix: three digit pairs (130 + pair).
        {"Data Matrix 10 x 10", ReedSolomon::dataMatrix(), {142, 164, 186}, {114, 25, 5, 88, 102}},
    };
    for (const auto &e : examples)
        EXPECT_EQ(e.rs.checkCodewords(e.data, int(e.check.size())), e.check) << e.name;
}
