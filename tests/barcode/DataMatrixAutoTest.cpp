// Data Matrix in automatic encoding: it takes whatever one of the offered encodings takes, gives the
// same symbol every time near capacity, and keeps the library's own messages off the error stream.
#include "barcode/DataMatrixEncoder.h"

#include "SymbolDecoder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

const QStringList kEncodings = {QStringLiteral("Ascii"), QStringLiteral("C40"), QStringLiteral("Text")};

} // namespace

TEST(DataMatrixAuto, TakesWhatAnyOfferedEncodingTakes)
{
    ASSERT_TRUE(SymbolDecoder::hasTool(QStringLiteral("ZXingReader")));
    QTemporaryDir dir;
    const QStringList names = {QString::fromUtf8("José Núñez"),    QString::fromUtf8("Grüße"),
                               QString::fromUtf8("日本"),          QString::fromUtf8("Ærøskøbing Åse"),
                               QStringLiteral("HELLO WORLD 2026"), QStringLiteral("hello world")};
    QStringList files;
    for (const QString &name : names) {
        const DataMatrixSymbol symbol =
            DataMatrixEncoder::encode(name, QStringLiteral("Auto"), QStringLiteral("Auto"));
        ASSERT_TRUE(symbol.ok()) << name.toStdString() << ": " << symbol.error.toStdString();
        files << dir.filePath(QStringLiteral("n%1.png").arg(files.size()));
        ASSERT_TRUE(SymbolDecoder::onWhite(DataMatrixEncoder::pageImage(symbol, 288), 16).save(files.last()));
    }
    const auto decoded = SymbolDecoder::zxing(files, QStringLiteral("DataMatrix"));
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(decoded.value(files.at(i)).toStdString(), names.at(i).toStdString());

    // Whenever an offered encoding gives a symbol, so does Auto, and never a larger one.
    QRandomGenerator random(11);
    const QString alphabet = QString::fromUtf8("AZaz09 .éÑü日-");
    for (int i = 0; i < 60; ++i) {
        const int length = random.bounded(1, 80);
        QString text;
        for (int k = 0; k < length; ++k)
            text += alphabet.at(random.bounded(alphabet.size()));
        const QStringList formats = DataMatrixEncoder::formats();
        const QString format = formats.at(random.bounded(formats.size()));
        const DataMatrixSymbol automatic = DataMatrixEncoder::encode(text, format, QStringLiteral("Auto"));
        for (const QString &encoding : kEncodings) {
            const DataMatrixSymbol chosen = DataMatrixEncoder::encode(text, format, encoding);
            if (!chosen.ok())
                continue;
            ASSERT_TRUE(automatic.ok()) << text.toStdString() << " " << format.toStdString();
            EXPECT_LE(automatic.width * automatic.height, chosen.width * chosen.height);
        }
    }
}

TEST(DataMatrixAuto, CapacityValuesGiveTheSameAnswerEveryTime)
{
    // At and just past the largest symbol's capacity, for digits, capitals and small letters.
    const QList<QString> values = {QString(3116, QLatin1Char('7')),
                                   QString(3115, QLatin1Char('3')),
                                   QStringLiteral("1") + QString(3114, QLatin1Char('0')) +
                                       QStringLiteral("A"),
                                   QString(2334, QLatin1Char('Q')),
                                   QString(2337, QLatin1Char('Q')),
                                   QString(2334, QLatin1Char('q')),
                                   QString(1556, QLatin1Char('#'))};
    for (const QString &value : values) {
        const DataMatrixSymbol first =
            DataMatrixEncoder::encode(value, QStringLiteral("Auto"), QStringLiteral("Auto"));
        for (int run = 0; run < 25; ++run) {
            const DataMatrixSymbol again =
                DataMatrixEncoder::encode(value, QStringLiteral("Auto"), QStringLiteral("Auto"));
            ASSERT_EQ(again.ok(), first.ok())
                << value.size() << " " << value.left(1).toStdString() << " run " << run;
            ASSERT_EQ(again.grid, first.grid) << value.size() << " run " << run;
            ASSERT_EQ(again.error, first.error);
        }
    }
    // The full digits fit the largest symbol, which an independent reader reads back.
    const DataMatrixSymbol full =
        DataMatrixEncoder::encode(values.first(), QStringLiteral("Auto"), QStringLiteral("Auto"));
    ASSERT_TRUE(full.ok()) << full.error.toStdString();
    EXPECT_EQ(full.width, 144);
    if (SymbolDecoder::hasTool(QStringLiteral("dmtxread"))) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("full.png"));
        ASSERT_TRUE(SymbolDecoder::onWhite(DataMatrixEncoder::pageImage(full, 144), 16).save(file));
        EXPECT_EQ(SymbolDecoder::dmtx(file), values.first().toLatin1());
    }
}

#ifdef CARDTOOL_PATH
TEST(DataMatrixAuto, TheLibrarysOwnMessagesStayOffTheErrorStream)
{
    QTemporaryDir dir;
    const QString tooMuch = QString(2400, QLatin1Char('a')) + QString(400, QLatin1Char('%'));
    const testsupport::ProcResult r = testsupport::cardtool(
        {QStringLiteral("barcode"), QStringLiteral("--title"), QStringLiteral("DataMatrix"),
         QStringLiteral("--value"), tooMuch, QStringLiteral("--format"), QStringLiteral("png"),
         QStringLiteral("--out"), dir.filePath(QStringLiteral("x.png"))});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("too long for a Data Matrix")))
        << r.errText().toStdString();
    EXPECT_FALSE(r.errText().contains(QStringLiteral("Cannot"))) << r.errText().toStdString();
    EXPECT_FALSE(r.errText().contains(QStringLiteral("barcode too long"))) << r.errText().toStdString();

    // In process: what the library said is kept for the log.
    const DataMatrixSymbol s =
        DataMatrixEncoder::encode(tooMuch, QStringLiteral("Auto"), QStringLiteral("Ascii"));
    ASSERT_FALSE(s.ok());
    EXPECT_TRUE(s.report().contains(QStringLiteral("barcode too long"))) << s.report().toStdString();
}
#endif
