// The character maps of a PDF name letters where they named presentation forms, and the file's
// cross-reference table follows the longer maps; lines noted while a PDF is written are marked in
// it only where its text objects are theirs.
#include "platform/PdfToUnicode.h"
#include "platform/PdfDrawnText.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace
{

// A one-object PDF in the layout Qt writes: the map as a stream, then the classic table.
QByteArray pdfWithMap(const QByteArray &mappings)
{
    const QByteArray map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                           "/CMapName /Adobe-Identity-UCS def\n1 begincodespacerange\n<0000> <FFFF>\n"
                           "endcodespacerange\n" +
                           mappings + "endcmap\nend\nend\n";
    QByteArray pdf = "%PDF-1.4\n";
    const qsizetype object = pdf.size();
    pdf += "1 0 obj\n<< /Length " + QByteArray::number(map.size()) + " >>\nstream\n" + map +
           "\nendstream\nendobj\n";
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 2\n0000000000 65535 f \n" + QByteArray::number(object).rightJustified(10, '0') +
           " 00000 n \ntrailer\n<< /Size 2 >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace

TEST(PdfToUnicode, PresentationFormsBecomeTheLettersTheyStandFor)
{
    const struct {
        QByteArray mappings, expected;
    } cases[] = {
        {"2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<FEE3> <FEA4> <FEE4> <FEAA> ]\nendbfrange\n",
         "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<0645> <062D> <0645> <062F> ]\nendbfrange\n"},
        // A stepped range is written out; the lam-alef ligature is two letters.
        {"1 beginbfrange\n<0005> <0007> <FEE2>\nendbfrange\n1 beginbfchar\n<0009> <FEFB>\nendbfchar\n",
         "1 beginbfrange\n<0005> <0007> [<0645> <0645> <0645> ]\nendbfrange\n1 beginbfchar\n<0009> "
         "<06440627>\nendbfchar\n"},
        // Nothing to do: the bytes stay as they were.
        {"1 beginbfrange\n<0001> <0003> [<0041> <05E9> <4F60> ]\nendbfrange\n",
         "1 beginbfrange\n<0001> <0003> [<0041> <05E9> <4F60> ]\nendbfrange\n"},
    };
    for (const auto &c : cases) {
        QByteArray pdf = pdfWithMap(c.mappings);
        ASSERT_TRUE(PdfToUnicode::spellOutPresentationForms(pdf)) << c.mappings.toStdString();
        EXPECT_EQ(pdf, pdfWithMap(c.expected)) << pdf.toStdString();
    }
}

TEST(PdfToUnicode, AFileNotWrittenAsExpectedIsLeftAlone)
{
    for (const QByteArray &mappings : {QByteArray("1 beginbfchar\n<0009> <FEFB\nendbfchar\n"),
                                       QByteArray("1 beginbfchar\n<0009>\nendbfchar\n")}) {
        QByteArray pdf = pdfWithMap(mappings);
        const QByteArray before = pdf;
        EXPECT_FALSE(PdfToUnicode::spellOutPresentationForms(pdf));
        EXPECT_EQ(pdf, before);
    }
    QByteArray cut = pdfWithMap("1 beginbfchar\n<0009> <FEFB>\nendbfchar\n");
    cut.replace("/Length ", "/Length 9");
    const QByteArray before = cut;
    EXPECT_FALSE(PdfToUnicode::spellOutPresentationForms(cut));
    EXPECT_EQ(cut, before);
}

// A file whose text objects are not the lines noted (another count of glyphs, another font) keeps
// its bytes; one with nothing noted needs nothing.
TEST(PdfDrawnText, AFileWhoseTextIsNotTheNotedLinesIsLeftAlone)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::optional<PdfDrawnText> drawn;
    const QString word = QString::fromUtf8("प्रिया");
    {
        QPdfWriter writer(&buffer);
        drawn.emplace(&writer);
        EXPECT_TRUE(PdfDrawnText::noting(&writer));
        QPainter painter(&writer);
        painter.drawText(QPointF(100, 100), word);
        const QString family = QFontInfo(painter.font()).family();
        PdfDrawnText::note(&writer, word, {QList<quint32>(99, 1)}, {family});
        PdfDrawnText::note(&writer, word, {{1}}, {QStringLiteral("No Such Family")});
    }
    const QByteArray before = bytes;
    EXPECT_FALSE(drawn->spellOut(bytes));
    EXPECT_EQ(bytes, before);
    drawn.reset();
    QBuffer other;
    other.open(QIODevice::WriteOnly);
    QPdfWriter writer(&other);
    EXPECT_FALSE(PdfDrawnText::noting(&writer));
    EXPECT_TRUE(PdfDrawnText(&writer).spellOut(bytes));
    EXPECT_EQ(bytes, before);
}

// Another drawing's word that looks like a noted line's first run (the same glyphs in the same
// font, as a fixed text on an earlier label) is passed over: the line is found where all its runs
// follow one another, and reads as its text.
TEST(PdfDrawnText, AWordLikeALinesFirstRunDrawnBeforeItIsPassedOver)
{
    if (!testsupport::hasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::optional<PdfDrawnText> drawn;
    {
        QPdfWriter writer(&buffer);
        drawn.emplace(&writer);
        QPainter painter(&writer);
        QFont font = painter.font();
        font.setPixelSize(40);
        painter.setFont(font);
        painter.drawText(QPointF(100, 100), QStringLiteral("Kumar"));
        const QRawFont raw = QRawFont::fromFont(font);
        QList<QList<quint32>> runs;
        qreal x = 100;
        for (const QString &word : {QStringLiteral("Kumar"), QStringLiteral("Raj")}) {
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes(raw.glyphIndexesForString(word));
            QList<QPointF> at;
            for (const QPointF &advance : raw.advancesForGlyphIndexes(run.glyphIndexes())) {
                at << QPointF(x, 0);
                x += advance.x();
            }
            run.setPositions(at);
            painter.drawGlyphRun(QPointF(0, 400), run);
            runs << run.glyphIndexes();
        }
        PdfDrawnText::note(&writer, QStringLiteral("Noted Line"), runs, {raw.familyName(), raw.familyName()});
    }
    ASSERT_TRUE(drawn->spellOut(bytes));
    QTemporaryDir tmp;
    const QString pdf = tmp.filePath("line.pdf");
    ASSERT_TRUE(testsupport::writeFile(pdf, bytes));
    const QString text = testsupport::output("pdftotext", {pdf, "-"});
    EXPECT_TRUE(text.contains("Noted Line")) << text.toStdString();
    EXPECT_EQ(text.count("Kumar"), 1) << text.toStdString();
}
