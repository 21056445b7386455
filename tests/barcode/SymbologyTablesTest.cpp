// Symbologies no installed decoder reads, checked against their published tables, and the check
// digits and content rules of every symbology.
#include "barcode/BarcodeGenerator.h"
#include "barcode/JapanPostBarcode.h"
#include "barcode/NKDCodabarBarcode.h"
#include "barcode/NKDCode128Barcode.h"
#include "barcode/NKDCode39Barcode.h"
#include "barcode/NKDEAN8Barcode.h"
#include "barcode/NKDIndustrialTwoOfFiveBarcode.h"
#include "barcode/NKDModifiedPlesseyHexBarcode.h"
#include "barcode/NKDPlanetBarcode.h"
#include "barcode/NKDRoyalMailBarcode.h"
#include "barcode/NKDUPCEBarcode.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

template <typename T> std::unique_ptr<T> made(const QString &content)
{
    auto b = std::make_unique<T>();
    EXPECT_TRUE(b->initWithContent(content, true));
    return b;
}

std::unique_ptr<NKDCode128Barcode> code128(const QString &content, int set)
{
    auto b = std::make_unique<NKDCode128Barcode>();
    b->setCodeSet(set);
    EXPECT_TRUE(b->initWithContent(content, true));
    return b;
}

// Bars of a module string: the index of the last module of every run of "1".
std::vector<int> barEnds(const QByteArray &modules)
{
    std::vector<int> ends;
    for (int i = 0; i < modules.size(); ++i) {
        if (modules[i] == '1' && (i + 1 == modules.size() || modules[i + 1] != '1'))
            ends.push_back(i);
    }
    return ends;
}

} // namespace

TEST(SymbologyTables, IndustrialTwoOfFiveFollowsTheTwoOfFiveTable)
{
    // The published 2 of 5 table: weights 1 2 4 7 and parity, W a wide bar.
    static const char *const table[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                          "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};
    auto b = made<NKDIndustrialTwoOfFiveBarcode>("9071");
    // Bars of three modules (wide) or one (narrow), each followed by two of space; start WWN and
    // stop WNW, the stop's last bar closing the symbol.
    QByteArray expected = "11100"
                          "11100"
                          "100";
    for (const char c : QByteArray("9071")) {
        for (int e = 0; e < 5; ++e)
            expected += table[c - '0'][e] == 'W' ? "11100" : "100";
    }
    expected += "11100"
                "100"
                "111";
    EXPECT_EQ(b->completeBarcode(), expected);
    EXPECT_EQ(b->barcode().size(), 4 * 19);
    EXPECT_FALSE(made<NKDIndustrialTwoOfFiveBarcode>("12A")->isContentValid());
}

TEST(SymbologyTables, InterleavedTwoOfFivePairsAndPrefix)
{
    auto odd = made<NKDInterleavedTwoOfFiveBarcode>("12345");
    auto even = made<NKDInterleavedTwoOfFiveBarcode>("012345");
    EXPECT_EQ(odd->completeBarcode(), even->completeBarcode());
    EXPECT_EQ(odd->barcode().size(), 3 * 18);
    EXPECT_EQ(odd->caption(), QString("12345"));
    auto empty = made<NKDInterleavedTwoOfFiveBarcode>("");
    EXPECT_TRUE(empty->isContentValid());
    EXPECT_EQ(empty->completeBarcode(), QByteArray("101011101"));
}

TEST(SymbologyTables, ModifiedPlesseyBitsAndCheckDigit)
{
    auto bits = [](int v) {
        QByteArray out;
        for (int i = 0; i < 4; ++i)
            out += (v >> i) & 1 ? "1110" : "1000";
        return out;
    };
    auto b = made<NKDModifiedPlesseyBarcode>("1234567");
    EXPECT_EQ(b->checkDigit(), '4');
    QByteArray expected = bits(0xB); // start: bits 1 1 0 1
    for (const int d : {1, 2, 3, 4, 5, 6, 7, 4})
        expected += bits(d);
    expected += "111" + bits(0xC); // stop: 111 and bits 0 0 1 1
    EXPECT_EQ(b->completeBarcode(), expected);
    EXPECT_EQ(b->_encodeChar('6'), QByteArray("1000111011101000"));

    // Luhn's rule at any length, e.g. 79927398713 ends in 3 as its own check.
    EXPECT_EQ(NKDModifiedPlesseyBarcode::checkDigitFor("7992739871"), '3');
    EXPECT_EQ(NKDModifiedPlesseyBarcode::checkDigitFor("0"), '0');
    // 30 digits: no overflow of the doubled number.
    EXPECT_EQ(NKDModifiedPlesseyBarcode::checkDigitFor("799273987179927398717992739871"), '9');
    EXPECT_FALSE(made<NKDModifiedPlesseyBarcode>("12A")->isContentValid());

    auto hex = made<NKDModifiedPlesseyHexBarcode>("1a");
    EXPECT_EQ(hex->content(), QString("1A"));
    EXPECT_TRUE(hex->isContentValid());
    EXPECT_EQ(hex->_encodeChar('A'), bits(10));
    EXPECT_EQ(hex->_encodeChar('F'), bits(15));
    EXPECT_FALSE(made<NKDModifiedPlesseyHexBarcode>("1G")->isContentValid());
}

TEST(SymbologyTables, PostnetAndPlanetBarLengths)
{
    // Published POSTNET table (weights 7 4 2 1 0), T a full bar.
    static const char *const postnet[10] = {"TTsss", "sssTT", "ssTsT", "ssTTs", "sTssT",
                                            "sTsTs", "sTTss", "TsssT", "TssTs", "TsTss"};
    auto p = made<NKDPostnetBarcode>("12345");
    EXPECT_EQ(p->checkDigit(), '5');
    EXPECT_EQ(p->completeBarcode().size(), 94);
    const std::vector<int> ends = barEnds(p->completeBarcode());
    ASSERT_EQ(ends.size(), 32u);
    EXPECT_DOUBLE_EQ(p->barTop(ends.front()), 9.0);
    EXPECT_DOUBLE_EQ(p->barTop(ends.back()), 9.0);
    const QByteArray digits = "123455";
    auto planet = made<NKDPlanetBarcode>("12345");
    for (int d = 0; d < 6; ++d) {
        for (int bar = 0; bar < 5; ++bar) {
            const int index = ends[1 + d * 5 + bar];
            const bool tall = postnet[digits[d] - '0'][bar] == 'T';
            EXPECT_NEAR(p->barTop(index), tall ? 9.0 : 3.6, 1e-9) << d << bar;
            EXPECT_NEAR(planet->barTop(index), tall ? 3.6 : 9.0, 1e-9) << d << bar;
        }
    }
    for (const char *bad : {"1234", "123456", "1234567890", "12-45"})
        EXPECT_FALSE(made<NKDPostnetBarcode>(bad)->isContentValid()) << bad;
    for (const char *good : {"12345", "123456789", "12345678901"})
        EXPECT_TRUE(made<NKDPostnetBarcode>(good)->isContentValid()) << good;
}

TEST(SymbologyTables, RoyalMailFourStatesAndCheckCharacter)
{
    // Published RM4SCC bars: T tracker, A ascender, D descender, F full.
    static const std::map<char, const char *> table = {
        {'0', "TTFF"}, {'1', "TDAF"}, {'3', "DTAF"}, {'4', "DTFA"}, {'6', "TADF"}, {'A', "DADA"},
        {'D', "TFAD"}, {'K', "ADDA"}, {'N', "FDTA"}, {'R', "FTAD"}, {'S', "FTFT"}, {'Z', "FFTT"}};
    auto stateOf = [](char s) { return s == 'F' ? 3 : s == 'A' ? 2 : s == 'D' ? 1 : 0; };
    auto b = made<NKDRoyalMailBarcode>("sn34rd1a");
    EXPECT_EQ(b->content(), QString("SN34RD1A")); // upper-cased
    EXPECT_EQ(b->checkDigit(), 'K');
    EXPECT_TRUE(b->printsCaption());
    const std::vector<int> ends = barEnds(b->completeBarcode());
    ASSERT_EQ(ends.size(), 1u + 9 * 4 + 1);
    EXPECT_EQ(b->_barDescriptor(ends.front()), 2);
    EXPECT_EQ(b->_barDescriptor(ends.back()), 3);
    const QByteArray chars = "SN34RD1AK";
    for (int c = 0; c < chars.size(); ++c) {
        for (int bar = 0; bar < 4; ++bar)
            EXPECT_EQ(b->_barDescriptor(ends[1 + c * 4 + bar]), stateOf(table.at(chars[c])[bar])) << c << bar;
    }
    const double mm = 72.0 / 25.4;
    const int full = ends.back();
    const int tracker = ends[1 + 0 * 4 + 1]; // S: F T F T
    EXPECT_NEAR(b->barTop(full), 5.05 * mm, 1e-9);
    EXPECT_NEAR(b->barBottom(full), 0.0, 1e-9);
    EXPECT_NEAR(b->barTop(tracker), 3.15 * mm, 1e-9);
    EXPECT_NEAR(b->barBottom(tracker), 1.9 * mm, 1e-9);
    for (const char c : QByteArray("0Z"))
        for (int bar = 0; bar < 4; ++bar)
            EXPECT_EQ(NKDRoyalMailBarcode::statesOf(c)[bar], stateOf(table.at(c)[bar]));
}

TEST(SymbologyTables, JapanPostCodesCheckAndBars)
{
    auto b = made<JapanPostBarcode>("0140113");
    EXPECT_EQ(b->japanpostContents(), QString("0140113") + QString(13, '='));
    EXPECT_EQ(b->checkDigit(), '.');
    EXPECT_EQ(b->completeBarcode().size(), 133);
    EXPECT_TRUE(b->isContentValid());
    // Published bars: start 3 1 (full, descender), each code character three bars, stop 1 3.
    const std::map<char, std::array<int, 3>> table = {{'0', {3, 0, 0}}, {'1', {3, 3, 0}}, {'3', {1, 3, 2}},
                                                      {'4', {3, 2, 1}}, {'=', {0, 1, 2}}, {'.', {0, 0, 3}}};
    const std::vector<int> ends = barEnds(b->completeBarcode());
    ASSERT_EQ(ends.size(), 2u + 21 * 3 + 2);
    EXPECT_EQ(b->_barDescriptor(ends[0]), 3);
    EXPECT_EQ(b->_barDescriptor(ends[1]), 1);
    EXPECT_EQ(b->_barDescriptor(ends[ends.size() - 2]), 1);
    EXPECT_EQ(b->_barDescriptor(ends.back()), 3);
    const QString codes = b->japanpostContents() + QChar(b->checkDigit());
    for (int c = 0; c < 21; ++c)
        for (int bar = 0; bar < 3; ++bar)
            EXPECT_EQ(b->_barDescriptor(ends[2 + c * 3 + bar]), table.at(codes.at(c).toLatin1())[bar]);

    EXPECT_FALSE(made<JapanPostBarcode>("263-0023")->isContentValid());
    EXPECT_TRUE(made<JapanPostBarcode>("2630023")->isContentValid());
    // Letters take two code characters; the shown text keeps what still fits.
    auto longText = made<JapanPostBarcode>("1234567ABCDEFGHIJ");
    EXPECT_EQ(longText->japanpostContents(), QString("1234567:0:1:2:3:4:5:"));
    EXPECT_EQ(longText->content(), QString("1234567ABCDEF"));
    b->setBarWidth(1.0);
    EXPECT_NEAR(b->barWidth(), 1.3333334, 1e-6);
    EXPECT_NEAR(b->symbolSize(), 8.0, 1e-5);
    b->setSymbolSize(12);
    EXPECT_DOUBLE_EQ(b->symbolSize(), 11.5);
    EXPECT_DOUBLE_EQ(b->barWidth(), 11.5 / 6.0);
}

TEST(SymbologyTables, RetailCheckDigitsAndRules)
{
    auto ean = made<NKDEAN13Barcode>("590123412345");
    EXPECT_EQ(ean->checkDigit(), '7');
    EXPECT_EQ(ean->caption(), QString("  901234\t123457"));
    EXPECT_EQ(ean->leftCaption(), QString("5"));
    EXPECT_TRUE(ean->rightCaption().isEmpty());
    EXPECT_TRUE(made<NKDEAN13Barcode>("5901234123457")->isContentValid());
    auto wrong = made<NKDEAN13Barcode>("5901234123458");
    EXPECT_FALSE(wrong->isContentValid());
    EXPECT_EQ(wrong->checkDigit(), '8');
    EXPECT_EQ(ean->completeBarcode().size(), 95);

    auto upca = made<NKDUPCABarcode>("03600029145");
    EXPECT_EQ(upca->checkDigit(), '2');
    EXPECT_EQ(upca->caption(), QString("36000\t29145"));
    EXPECT_EQ(upca->leftCaption(), QString("0"));
    EXPECT_EQ(upca->rightCaption(), QString("2"));

    auto ean8 = made<NKDEAN8Barcode>("9638507");
    EXPECT_EQ(ean8->checkDigit(), '4');
    EXPECT_EQ(ean8->completeBarcode().size(), 67);
    EXPECT_TRUE(made<NKDEAN8Barcode>("96385074")->isContentValid());
    EXPECT_FALSE(made<NKDEAN8Barcode>("96385070")->isContentValid()); // wrong check digit

    // UPC-E of 7 digits gets the check digit of its UPC-A expansion 012345000065.
    auto upce = made<NKDUPCEBarcode>("0123456");
    EXPECT_EQ(upce->checkDigit(), '5');
    EXPECT_TRUE(upce->isContentValid());
    EXPECT_EQ(upce->completeBarcode().size(), 51);
    EXPECT_TRUE(made<NKDUPCEBarcode>("01234565")->isContentValid());
    EXPECT_FALSE(made<NKDUPCEBarcode>("01234566")->isContentValid());
    EXPECT_FALSE(made<NKDUPCEBarcode>("2123456")->isContentValid());
    // Number system 1 inverts every parity.
    auto ns1 = made<NKDUPCEBarcode>("1123456");
    auto ns0 = made<NKDUPCEBarcode>("0123456");
    ns1->setCheckDigit(ns0->checkDigit());
    for (int i = 1; i <= 6; ++i)
        EXPECT_NE(ns1->parityForDigit(i), ns0->parityForDigit(i));
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("012000003455"), QString("123450"));
    EXPECT_TRUE(NKDUPCEBarcode::UPCAToUPCE("012345678905").isEmpty());
    // An 11-digit UPC-A number that zero-suppresses becomes number system and six digits.
    auto fromUpca = made<NKDUPCEBarcode>("01200000345");
    EXPECT_EQ(fromUpca->content(), QString("0123450"));
    EXPECT_TRUE(fromUpca->isContentValid());
    for (const char *empty : {"EAN-13", "EAN-8", "UPCA", "UPCE"}) {
        auto b = BarcodeGenerator::barcodeForTitle(empty);
        b->initWithContent("", true);
        b->setBarWidth(1);
        b->calculateWidth();
        EXPECT_EQ(b->width(), 0.0) << empty;
    }
}

TEST(SymbologyTables, Code128ChecksSetsAndShift)
{
    EXPECT_EQ(code128("AB12", NKDCode128Barcode::SetB)->checkDigit(), 19);
    auto c = code128("12345", NKDCode128Barcode::SetC);
    EXPECT_EQ(c->checkDigit(), 81);
    EXPECT_EQ(c->symbolValues(), (std::vector<int>{1, 23, 45}));
    EXPECT_FALSE(code128("12A4", NKDCode128Barcode::SetC)->isContentValid());
    EXPECT_EQ(code128(" ", NKDCode128Barcode::SetB)->symbolValues(), std::vector<int>{0});
    // A lower-case letter in set A goes as SHIFT and its set B value, counted in the check.
    auto a = code128("AbC", NKDCode128Barcode::SetA);
    EXPECT_EQ(a->symbolValues(), (std::vector<int>{33, 98, 66, 35}));
    EXPECT_EQ(a->checkDigit(), (103 + 1 * 33 + 2 * 98 + 3 * 66 + 4 * 35) % 103);
    auto b = code128("a\tb", NKDCode128Barcode::SetB);
    EXPECT_EQ(b->symbolValues(), (std::vector<int>{65, 98, 73, 66}));
    // Automatic choice keeps the content as it is and uses set C for long digit runs.
    auto automatic = code128("12345", NKDCode128Barcode::Automatic);
    EXPECT_EQ(automatic->content(), QString("12345"));
    EXPECT_EQ(automatic->symbolValues().size(), 4u);
    auto mixed = code128("AB12345678", NKDCode128Barcode::Automatic);
    EXPECT_EQ(mixed->startSet(), NKDCode128Barcode::SetB);
    EXPECT_EQ(mixed->symbolValues(), (std::vector<int>{33, 34, 99, 12, 34, 56, 78}));
    const int n = int(code128("Hello", NKDCode128Barcode::SetB)->completeBarcode().size());
    EXPECT_EQ(n, 11 * (1 + 5 + 1) + 13);
    EXPECT_EQ(NKDCode128Barcode::patternOfValue(0), QByteArray("11011001100"));
    EXPECT_EQ(NKDCode128Barcode::patternOfValue(106), QByteArray("1100011101011"));
    EXPECT_FALSE(code128(QString::fromUtf8("caf\u00e9"), NKDCode128Barcode::Automatic)->isContentValid());
}

TEST(SymbologyTables, Code39AndCodabarRules)
{
    auto c39 = made<NKDCode39Barcode>("abc-1");
    EXPECT_EQ(c39->content(), QString("ABC-1"));
    EXPECT_EQ(c39->_encodeChar('0'), QByteArray("1010011011010"));
    EXPECT_EQ(c39->initiator(), QByteArray("1001011011010"));
    EXPECT_EQ(c39->completeBarcode().size(), (5 + 2) * 13);
    EXPECT_FALSE(made<NKDCode39Barcode>("A*B")->isContentValid());

    NKDCodabarBarcode codabar;
    EXPECT_EQ(codabar._encodeChar('+'), QByteArray("10110110110")); // three wide bars, 10 modules
    EXPECT_EQ(codabar._encodeChar('0'), QByteArray("1010100110"));
    EXPECT_TRUE(made<NKDCodabarBarcode>("A1234B")->isContentValid());
    EXPECT_TRUE(made<NKDCodabarBarcode>("C+-$:/.D")->isContentValid());
    for (const char *bad : {"a1234b", "1234", "A1234", "A12B34C", "A", "AB1"})
        EXPECT_FALSE(made<NKDCodabarBarcode>(bad)->isContentValid()) << bad;
}
