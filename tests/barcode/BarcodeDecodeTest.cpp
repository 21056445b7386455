// Random values of every decodable linear symbology, drawn through the generation pipeline at
// 300 dpi and read back by ZXingReader and zbarimg.
#include "BarcodeTestSupport.h"
#include "SymbolDecoder.h"

#include "barcode/NKDExtendedCode39Barcode.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace barcodetest;

namespace
{

struct Sample {
    QString title;
    QString value;
    QString zxing; // expected ZXingReader text; empty when ZXing is not asked
    QString zbar;  // expected zbarimg text; empty when zbar is not asked
};

QString fileFor(size_t i)
{
    return QStringLiteral("%1.png").arg(i, 3, 10, QLatin1Char('0'));
}

class Values
{
public:
    explicit Values(unsigned seed) : m_rng(seed) {}
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    QString from(const QString &alphabet, int length)
    {
        QString s;
        for (int i = 0; i < length; ++i)
            s += alphabet.at(between(0, int(alphabet.size()) - 1));
        return s;
    }
    QString digits(int length) { return from(QStringLiteral("0123456789"), length); }

private:
    std::mt19937 m_rng;
};

QChar mod10(const QString &digits)
{
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += digits.at(i).digitValue() * weight;
        weight = 4 - weight;
    }
    return QChar('0' + (10 - sum % 10) % 10);
}

// UPC-E digits (number system and six) as the UPC-A number they stand for.
QString expandUpce(const QString &e)
{
    const QString d = e.mid(1);
    const QChar last = d.at(5);
    if (last <= QLatin1Char('2'))
        return e.left(1) + d.left(2) + last + "0000" + d.mid(2, 3);
    if (last == QLatin1Char('3'))
        return e.left(1) + d.left(3) + "00000" + d.mid(3, 2);
    if (last == QLatin1Char('4'))
        return e.left(1) + d.left(4) + "00000" + d.mid(4, 1);
    return e.left(1) + d.left(5) + "0000" + last;
}

std::vector<Sample> makeSamples(Values &v)
{
    std::vector<Sample> out;
    const QString printable = [] {
        QString s;
        for (int c = 32; c < 127; ++c)
            s += QChar(c);
        return s;
    }();
    const QString upperSet = [] {
        QString s;
        for (int c = 32; c < 96; ++c)
            s += QChar(c);
        return s;
    }();
    for (int i = 0; i < 5; ++i) {
        // EAN-13: twelve digits, sometimes given with the check digit.
        QString ean13 = v.digits(12);
        const QString ean13Full = ean13 + mod10(ean13);
        out.push_back({"EAN-13", i % 2 ? ean13Full : ean13, ean13Full, ean13Full});
        QString ean8 = v.digits(7);
        const QString ean8Full = ean8 + mod10(ean8);
        out.push_back({"EAN-8", i % 2 ? ean8Full : ean8, ean8Full, ean8Full});
        QString upca = v.digits(11);
        const QString upcaFull = upca + mod10(upca);
        out.push_back({"UPCA", i % 2 ? upcaFull : upca, upcaFull, "0" + upcaFull});
        // UPC-E: number system 0 or 1; the check digit is that of the expanded UPC-A number.
        QString upce = QString::number(v.between(0, 1)) + v.digits(6);
        const QString upceA = expandUpce(upce);
        const QChar upceCheck = mod10(upceA);
        // zbar reads UPC-E of number system 0 only.
        out.push_back({"UPCE", i % 2 ? upce + upceCheck : upce, upce + upceCheck,
                       upce.startsWith('0') ? "0" + upceA + upceCheck : QString()});

        const QString c39 =
            v.from(QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-.$/+%"), v.between(1, 12));
        out.push_back({"Code 39", c39, c39, c39});

        // Code 128: set B printable text, set A upper case with a control character and a
        // lower-case letter that needs SHIFT, set C digits of odd and even length, automatic mixes.
        const QString b = v.from(printable, v.between(1, 16));
        out.push_back({"Code 128 SET B", b, b, b});
        const QString bShift = v.from(printable, 4) + QChar(9) + v.from(printable, 3);
        out.push_back({"Code 128 SET B", bShift, zxingEscaped(bShift), {}});
        const QString a = v.from(upperSet, v.between(1, 10));
        out.push_back({"Code 128 SET A", a, a, a});
        const QString aShift = v.from(upperSet, 3) + QChar(v.between(1, 31)) + "q" + v.from(upperSet, 2);
        out.push_back({"Code 128 SET A", aShift, zxingEscaped(aShift), {}});
        const QString cOdd = v.digits(2 * v.between(1, 6) + 1);
        out.push_back({"Code 128 SET C", cOdd, "0" + cOdd, "0" + cOdd});
        const QString cEven = v.digits(2 * v.between(1, 6));
        out.push_back({"Code 128 SET C", cEven, cEven, cEven});
        const QString autoDigitsOdd = v.digits(2 * v.between(1, 8) + 1);
        out.push_back({"Code 128", autoDigitsOdd, autoDigitsOdd, autoDigitsOdd});
        const QString autoMixed = v.from(printable, v.between(0, 4)) + v.digits(v.between(4, 9)) +
                                  v.from(printable, v.between(1, 4)) + v.digits(v.between(1, 5));
        out.push_back({"Code 128", autoMixed, autoMixed, autoMixed});
        const QString autoControl = v.from(QStringLiteral("abcXYZ"), 2) + QChar(v.between(1, 31)) +
                                    QChar(v.between(1, 31)) + "ABC" + v.digits(v.between(0, 6)) + "xy";
        out.push_back({"Code 128", autoControl, zxingEscaped(autoControl), {}});

        const QString start = QString(QChar('A' + v.between(0, 3)));
        const QString stop = QString(QChar('A' + v.between(0, 3)));
        const QString body = v.from(QStringLiteral("0123456789-$:/.+"), v.between(2, 12));
        out.push_back({"Codabar", start + body + stop, body, start + body + stop});

        const QString itf = v.digits(v.between(6, 16));
        const QString itfRead = itf.size() % 2 ? "0" + itf : itf;
        out.push_back({"Interleaved 2 of 5", itf, itfRead, itfRead});
    }
    return out;
}

} // namespace

TEST(LinearDecode, RandomValuesReadBackByZXingAndZbar)
{
    // The decoders are test dependencies: a missing one fails rather than passing unchecked.
    ASSERT_TRUE(hasTool("ZXingReader") && hasTool("zbarimg")) << "ZXingReader and zbarimg are needed";
    Values values(20261207u);
    std::vector<Sample> samples = makeSamples(values);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QStringList zxingFiles, zbarFiles;
    for (size_t i = 0; i < samples.size(); ++i) {
        const Sample &s = samples[i];
        const BarcodeResult r =
            BarcodeGenerator::Get_Image_From_Val(settingsFor(s.title), s.value, "HEADER", "FOOTER");
        ASSERT_TRUE(r.ok()) << s.title.toStdString() << " " << s.value.toStdString() << ": "
                            << r.message.toStdString();
        const QString path = dir.filePath(fileFor(i));
        ASSERT_TRUE(renderPadded(r.picture, 300).save(path));
        if (!s.zxing.isEmpty())
            zxingFiles << path;
        if (!s.zbar.isEmpty())
            zbarFiles << path;
    }
    const auto zx = zxingRead(zxingFiles);
    const auto zb = SymbolDecoder::zbar(zbarFiles);
    for (size_t i = 0; i < samples.size(); ++i) {
        const Sample &s = samples[i];
        const QString file = fileFor(i);
        const std::string what = (s.title + " \"" + zxingEscaped(s.value) + "\"").toStdString();
        if (!s.zxing.isEmpty()) {
            EXPECT_TRUE(zx.contains(file)) << "ZXing read nothing: " << what;
            EXPECT_EQ(zx.value(file).toStdString(), s.zxing.toStdString()) << what;
        }
        if (!s.zbar.isEmpty()) {
            EXPECT_TRUE(zb.contains(dir.filePath(file))) << "zbar read nothing: " << what;
            EXPECT_EQ(zb.value(dir.filePath(file)).toStdString(), s.zbar.toStdString()) << what;
        }
    }
}

// Full-ASCII Code 39 is drawn as ordinary Code 39 characters: a plain Code 39 reader sees the
// pairs of the published full-ASCII table.
TEST(LinearDecode, ExtendedCode39ReadsAsFullAsciiPairs)
{
    ASSERT_TRUE(hasTool("ZXingReader")) << "ZXingReader is needed";
    // The published full-ASCII table for the printable characters 32..126.
    static const char *const table[95] = {
        " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "-",  ".",  "/O",
        "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",
        "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
        "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",
        "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
        "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S"};
    for (int c = 32; c < 127; ++c)
        EXPECT_EQ(NKDExtendedCode39Barcode::fullAsciiPair(char(c)), QByteArray(table[c - 32])) << c;
    EXPECT_EQ(NKDExtendedCode39Barcode::fullAsciiPair('\t'), QByteArray("$I"));
    EXPECT_EQ(NKDExtendedCode39Barcode::fullAsciiPair('\n'), QByteArray("$J"));
    EXPECT_TRUE(NKDExtendedCode39Barcode::fullAsciiPair('\r').isEmpty());

    QTemporaryDir dir;
    const QString values[] = {QStringLiteral("abc"), QStringLiteral("a$b*c!"), QStringLiteral("{x}~@[_]`"),
                              QStringLiteral("Mixed Case 42;:")};
    QStringList files;
    for (int i = 0; i < 4; ++i) {
        const BarcodeResult r =
            BarcodeGenerator::Get_Image_From_Val(settingsFor("Extended Code 39"), values[i], "", "");
        ASSERT_TRUE(r.ok()) << r.message.toStdString();
        files << dir.filePath(QStringLiteral("x%1.png").arg(i));
        ASSERT_TRUE(renderPadded(r.picture, 300).save(files.last()));
    }
    const auto zx = zxingRead(files, {QStringLiteral("-format"), QStringLiteral("Code39")});
    for (int i = 0; i < 4; ++i) {
        QString pairs;
        for (const QChar c : values[i])
            pairs += QLatin1String(table[c.unicode() - 32]);
        const QString got = zx.value(QFileInfo(files[i]).fileName());
        // A reader may apply the full-ASCII decoding itself.
        EXPECT_TRUE(got == pairs || got == values[i]) << got.toStdString() << " vs " << pairs.toStdString();
    }
}

// QR Code, PDF417 and Data Matrix pictures made by generation (framed, raised to the output
// resolution, rasterised) read back to their values.
TEST(SymbolDecode, TwoDPicturesReadBack)
{
    ASSERT_TRUE(hasTool("ZXingReader")) << "ZXingReader is needed";
    Values v(424242u);
    const QString printable =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -.:/+");
    struct Case {
        BarcodeSettings settings;
        QString value;
    };
    std::vector<Case> cases;
    for (int i = 0; i < 4; ++i) {
        BarcodeSettings qr = settingsFor("QR Code");
        qr.qr_ec_index = i;
        qr.qr_size_val = 80;
        qr.dpi = 300;
        cases.push_back({qr, v.from(printable, v.between(1, 60))});
        BarcodeSettings pdf = settingsFor("PDF417");
        pdf.pdf_wdt_val = 220;
        pdf.pdf_hgt_val = 70;
        pdf.pdf_ec_val = i + 1;
        pdf.dpi = 300;
        cases.push_back({pdf, v.from(printable, v.between(1, 40))});
        BarcodeSettings dm = settingsFor("DataMatrix");
        dm.dm_module_val = 3;
        dm.dm_encoding_index = i % 2; // automatic, ASCII
        dm.dpi = 300;
        cases.push_back({dm, v.from(printable, v.between(1, 40))});
    }
    // A data row beyond ISO 8859-1: UTF-8 behind ECI 26 in each of them.
    for (const QString &title :
         {QStringLiteral("QR Code"), QStringLiteral("PDF417"), QStringLiteral("DataMatrix")}) {
        BarcodeSettings s = settingsFor(title);
        s.qr_size_val = 80;
        s.dm_module_val = 3;
        s.pdf_wdt_val = 220;
        s.pdf_hgt_val = 70;
        s.dpi = 300;
        cases.push_back({s, QStringLiteral("Grüße aus Köln, 日本 €5")});
    }
    QTemporaryDir dir;
    QStringList files;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case &c = cases[i];
        const BarcodeResult r = BarcodeGenerator::Get_Image_From_Val(c.settings, c.value, "HEADER", "FOOTER");
        ASSERT_TRUE(r.ok()) << c.settings.symbologyTitle.toStdString() << ": " << r.message.toStdString();
        files << dir.filePath(QStringLiteral("s%1.png").arg(i, 2, 10, QLatin1Char('0')));
        ASSERT_TRUE(renderPadded(r.picture, 300).save(files.last()));
    }
    const auto zx = zxingRead(files);
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(SymbolDecoder::unescapeZXing(zx.value(QFileInfo(files[int(i)]).fileName())).toStdString(),
                  cases[i].value.toStdString())
            << cases[i].settings.symbologyTitle.toStdString();
}
