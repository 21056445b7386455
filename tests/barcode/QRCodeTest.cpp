// QR Code encoder: symbols read back by independent decoders at every version, sizes and
// capacities, the picture's geometry, and refusal of bad input.
#include "barcode/CQR_Encode.h"
#include "barcode/QREncoder.h"

#include "SymbolDecoder.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace
{

// Printable ASCII of every mode (digits, capitals, lower case, punctuation) so segments mix.
QString mixedText(int length, quint32 seed)
{
    static const QString kChars = QStringLiteral(
        "0123456789012345678901234567890123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:abcdefxyz!?#");
    QRandomGenerator random(seed);
    QString text;
    for (int i = 0; i < length; ++i)
        text += kChars.at(random.bounded(kChars.size()));
    return text;
}

// Characters of two and three UTF-8 bytes, some of which look like Shift JIS Kanji pairs.
QString utf8Text(int bytes, quint32 seed)
{
    static const QString kPieces[] = {QStringLiteral("é"), QStringLiteral("日"), QStringLiteral("本"),
                                      QStringLiteral("ß"), QStringLiteral("A"),  QStringLiteral("€")};
    QRandomGenerator random(seed);
    QString text;
    while (true) {
        const QString piece = kPieces[random.bounded(6)];
        if (text.toUtf8().size() + piece.toUtf8().size() > bytes)
            break;
        text += piece;
    }
    while (text.toUtf8().size() < bytes)
        text += QLatin1Char('a');
    return text;
}

struct Case {
    int level;
    int version;
    QString text;
    QString file;
};

int byteCapacity(int version, int level, bool eci)
{
    return CQR_Encode::capacity(version, level, CQR_Encode::Mode8Bit, eci);
}

} // namespace

// Every version at some level, every level at several versions, each filled to capacity: the
// decoded text must be the text put in.
TEST(QRCodeTest, EveryVersionAtCapacityDecodes)
{
    ASSERT_TRUE(SymbolDecoder::hasTool(QStringLiteral("ZXingReader")));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<Case> cases;
    for (int version = 1; version <= 40; ++version) {
        const int level = version % 4;
        cases.push_back({level, version, mixedText(byteCapacity(version, level, false), version), {}});
    }
    for (int level = 0; level < 4; ++level) {
        for (int version : {1, 9, 10, 26, 27, 40}) {
            const bool eci = (version + level) % 2 == 0;
            const QString text = eci ? utf8Text(byteCapacity(version, level, true), version * 7 + level)
                                     : mixedText(byteCapacity(version, level, false), version * 5 + level);
            cases.push_back({level, version, text, {}});
        }
    }
    // Pure numeric and alphanumeric text at their own capacities.
    for (int version : {2, 14, 33}) {
        const int digits = CQR_Encode::capacity(version, 1, CQR_Encode::ModeNumeral, false);
        cases.push_back(
            {1, version, mixedText(digits, version).replace(QRegularExpression("[^0-9]"), "7"), {}});
        const int alnum = CQR_Encode::capacity(version, 2, CQR_Encode::ModeAlphabet, false);
        cases.push_back({2, version, QString(alnum, QLatin1Char('Q')).replace(3, 4, "1 2:"), {}});
    }

    QStringList files;
    for (size_t i = 0; i < cases.size(); ++i) {
        Case &c = cases[i];
        const QREncodeResult result = QREncoder::encodeWithECLevel(c.level, 0, c.text);
        ASSERT_TRUE(result.ok()) << c.version << " " << c.level << ": " << result.message.toStdString();
        // Mixed modes may pack into a smaller version than the byte capacity suggests.
        ASSERT_LE(result.matrix.dimension(), 4 * c.version + 17) << "auto version for v" << c.version;
        const QREncodeResult fixed = QREncoder::encodeWithECLevel(c.level, c.version, c.text);
        ASSERT_TRUE(fixed.ok()) << fixed.message.toStdString();
        ASSERT_EQ(fixed.matrix.dimension(), 4 * c.version + 17);
        // One byte more does not fit the version any more.
        EXPECT_FALSE(QREncoder::encodeWithECLevel(c.level, c.version, c.text + QLatin1Char('x')).ok());

        const QImage image = QREncoder::renderDataMatrix(fixed.matrix, fixed.matrix.dimension() * 3);
        c.file = dir.filePath(QStringLiteral("qr%1.png").arg(i));
        ASSERT_TRUE(SymbolDecoder::onWhite(image, 10).save(c.file));
        files << c.file;
    }
    const auto decoded = SymbolDecoder::zxing(files, QStringLiteral("QRCode"));
    for (const Case &c : cases) {
        EXPECT_TRUE(decoded.contains(c.file)) << "not read: version " << c.version << " level " << c.level;
        EXPECT_EQ(decoded.value(c.file), c.text) << "version " << c.version << " level " << c.level;
    }
}

// A second, unrelated decoder over a sample of ASCII symbols.
TEST(QRCodeTest, ZbarReadsAsciiSymbols)
{
    ASSERT_TRUE(SymbolDecoder::hasTool(QStringLiteral("zbarimg")));
    QTemporaryDir dir;
    QStringList files, texts;
    for (int version : {1, 3, 6, 7, 12, 20, 31}) {
        const int level = (version * 3) % 4;
        const QString text = mixedText(byteCapacity(version, level, false) - 3, version + 100);
        const QREncodeResult result = QREncoder::encodeWithECLevel(level, version, text);
        ASSERT_TRUE(result.ok());
        const QString file = dir.filePath(QStringLiteral("z%1.png").arg(version));
        ASSERT_TRUE(SymbolDecoder::onWhite(
                        QREncoder::renderDataMatrix(result.matrix, result.matrix.dimension() * 3), 12)
                        .save(file));
        files << file;
        texts << text;
    }
    const auto decoded = SymbolDecoder::zbar(files);
    for (int i = 0; i < files.size(); ++i)
        EXPECT_EQ(QString::fromUtf8(decoded.value(files[i])), texts[i]) << files[i].toStdString();
}

TEST(QRCodeTest, VersionChoice)
{
    // Automatic: the smallest version that holds the text, not only version 1.
    EXPECT_EQ(QREncoder::encodeWithECLevel(0, 0, QString(41, QLatin1Char('9'))).matrix.dimension(), 21);
    EXPECT_EQ(QREncoder::encodeWithECLevel(0, 0, QString(42, QLatin1Char('9'))).matrix.dimension(), 25);
    EXPECT_EQ(QREncoder::encodeWithECLevel(0, 0, QString(25, QLatin1Char('A'))).matrix.dimension(), 21);
    EXPECT_EQ(QREncoder::encodeWithECLevel(3, 0, QString(17, QLatin1Char('a'))).matrix.dimension(), 29);
    // A requested version holds exactly that version, however short the text.
    EXPECT_EQ(QREncoder::encodeWithECLevel(1, 5, QStringLiteral("hi")).matrix.dimension(), 37);
    const QREncodeResult tooLong = QREncoder::encodeWithECLevel(0, 1, QString(42, QLatin1Char('9')));
    EXPECT_FALSE(tooLong.ok());
    EXPECT_TRUE(tooLong.message.contains(QStringLiteral("version 1"))) << tooLong.message.toStdString();
    EXPECT_FALSE(QREncoder::encodeWithECLevel(3, 1, QString(8, QLatin1Char('a'))).ok());
}

TEST(QRCodeTest, BadInputGivesReasons)
{
    for (const QREncodeResult &r : {QREncoder::encodeWithECLevel(0, 0, QString()),
                                    QREncoder::encodeWithECLevel(4, 0, QStringLiteral("x")),
                                    QREncoder::encodeWithECLevel(-1, 0, QStringLiteral("x")),
                                    QREncoder::encodeWithECLevel(0, 41, QStringLiteral("x")),
                                    QREncoder::encodeWithECLevel(0, -2, QStringLiteral("x")),
                                    QREncoder::encodeWithECLevel(0, 0, QString(2954, QLatin1Char('a'))),
                                    QREncoder::encodeWithECLevel(3, 40, QString(1300, QLatin1Char('a')))}) {
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.message.isEmpty());
        EXPECT_TRUE(r.matrix.isEmpty());
    }
    EXPECT_TRUE(QREncoder::renderDataMatrix(DataMatrix(), 100).isNull());

    // Random bytes at random settings: a symbol or a reason, never a crash.
    QRandomGenerator random(42);
    for (int i = 0; i < 60; ++i) {
        QByteArray bytes(random.bounded(400), Qt::Uninitialized);
        for (char &c : bytes)
            c = static_cast<char>(random.bounded(256));
        const QREncodeResult r =
            QREncoder::encodeCStringWithECLevel(random.bounded(-1, 5), random.bounded(-1, 42), bytes);
        EXPECT_NE(r.ok(), !r.message.isEmpty() || r.matrix.isEmpty());
    }
}

// The outcome travels as the program's other results do: a refusal is failed, with its message for
// the user also written to the log; a symbol is done with nothing to say.
TEST(QRCodeTest, OutcomeIsAnOpResult)
{
    const QREncodeResult made = QREncoder::encodeWithECLevel(1, 0, QStringLiteral("OP-RESULT"));
    EXPECT_TRUE(made.ok());
    EXPECT_EQ(made.status, OpResult::Status::Done);
    EXPECT_TRUE(made.message.isEmpty());
    EXPECT_TRUE(made.reason.isEmpty());
    for (const QREncodeResult &r : {QREncoder::encodeWithECLevel(0, 0, QString()),
                                    QREncoder::encodeWithECLevel(0, 1, QString(42, QLatin1Char('9')))}) {
        EXPECT_EQ(r.status, OpResult::Status::Failed);
        EXPECT_FALSE(r.cancelled());
        EXPECT_FALSE(r.message.isEmpty());
        EXPECT_EQ(r.reason, r.message);
    }
}

TEST(QRCodeTest, PictureGeometry)
{
    const DataMatrix matrix = QREncoder::encodeWithECLevel(1, 1, QStringLiteral("HELLO")).matrix;
    ASSERT_EQ(matrix.dimension(), 21);
    // 100 pixels: 4-pixel modules, 8 pixels of transparent margin on every side.
    const QImage even = QREncoder::renderDataMatrix(matrix, 100);
    ASSERT_EQ(even.size(), QSize(100, 100));
    EXPECT_EQ(qAlpha(even.pixel(7, 50)), 0);
    EXPECT_EQ(even.pixel(8, 8), qRgba(0, 0, 0, 255)); // finder corner
    EXPECT_EQ(even.pixel(91, 91), qRgba(255, 255, 255, 255));
    EXPECT_EQ(qAlpha(even.pixel(92, 50)), 0);
    // 101 pixels: left and top margins 8, right and bottom 9.
    const QImage odd = QREncoder::renderDataMatrix(matrix, 101);
    EXPECT_EQ(odd.pixel(8, 8), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(odd.pixel(92, 92)), 0);
    EXPECT_EQ(qAlpha(odd.pixel(91, 91)), 255);
    // A side smaller than the matrix still gives one pixel per module.
    const QImage small = QREncoder::renderDataMatrix(matrix, 5);
    ASSERT_EQ(small.size(), QSize(21, 21));
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(qRed(small.pixel(x, y)) == 0, matrix.isDark(x, y));
    }
    EXPECT_EQ(QREncoder::minimumImageDimension(0), 21);
    EXPECT_EQ(QREncoder::minimumImageDimension(5), 37);
    EXPECT_EQ(QREncoder::minimumImageDimension(40), 177);
    EXPECT_TRUE(matrix.description().startsWith(QStringLiteral("1111111")));
    EXPECT_EQ(matrix.description().count(QLatin1Char('\n')), 21);
}

TEST(QRCodeTest, ThreadsEncodeIndependently)
{
    const QString text = mixedText(300, 9);
    const DataMatrix expected = QREncoder::encodeWithECLevel(2, 0, text).matrix;
    std::vector<DataMatrix> results(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] { results[t] = QREncoder::encodeWithECLevel(2, 0, text).matrix; });
    for (auto &thread : threads)
        thread.join();
    for (const DataMatrix &m : results)
        EXPECT_EQ(m, expected);
}
