// The checksum against zlib's own, over lengths around its step and the bound on unreduced sums,
// for bytes that make the sums largest and for mixed ones, whole and split at odd places.
#include "output/Adler32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>
#include <vector>

TEST(Adler32, MatchesZlibWholeAndInPieces)
{
    std::mt19937 random(7);
    std::vector<unsigned char> mixed(70000), full(70000, 0xff);
    for (auto &b : mixed)
        b = static_cast<unsigned char>(random());
    for (const auto *bytes : {&mixed, &full}) {
        for (const std::size_t length :
             {0, 1, 15, 31, 32, 33, 64, 5535, 5536, 5552, 5553, 11104, 65536, 70000}) {
            const unsigned char *data = bytes->data();
            const auto want = static_cast<std::uint32_t>(adler32(1, data, uInt(length)));
            EXPECT_EQ(Adler32::update(Adler32::Start, data, length), want) << length;
            // In pieces that end mid-step, as rows of a picture are fed.
            std::uint32_t pieces = Adler32::Start;
            for (std::size_t at = 0; at < length; at += 421)
                pieces = Adler32::update(pieces, data + at, std::min<std::size_t>(421, length - at));
            EXPECT_EQ(pieces, want) << length << " in pieces";
        }
    }
}
