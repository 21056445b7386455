// The card with every kind of object (names in many scripts, placed and bound photos, barcodes,
// shapes, a line and a signature, on both sides) exported and printed on 1, 2 and 8 threads, three
// times each: the same pixels and the same text every time, and every name read back exactly.
#include "output/BatchDesignFixture.h"

#include "foundation/CardCodes.h"
#include "model/SKTImage.h"
#include "model/SKTSignature.h"
#include "output/CardExport.h"
#include "output/ExportPaths.h"
#include "output/ExportProgress.h"
#include "output/Printing_View.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

namespace
{

const QStringList EveryScript{QString::fromUtf8("Zoë Ångström"), QString::fromUtf8("วงศ์ใหญ่ ศรีสุข"),
                              QString::fromUtf8("सिद्धार्थ शर्मा"), QString::fromUtf8("محمد علي"),
                              QString::fromUtf8("山田 太郎"),    QString::fromUtf8("Ελένη Παππά"),
                              QString::fromUtf8("Анна Петрова"), QString::fromUtf8("דוד לוי")};

QString writePhoto(const QString &folder, const QString &name, QColor from, QColor to)
{
    QDir().mkpath(folder);
    QImage image(180, 120, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 180, 120);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.fillRect(image.rect(), g);
    p.end();
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

GraphicPtr photo(const QRectF &frame, const QString &path)
{
    GraphicPtr p = SKTImage::initWithPath(frame.topLeft(), path);
    p->setBounds(frame);
    return p;
}

GraphicPtr shape(const QRectF &frame, QLatin1String type)
{
    GraphicPtr s = SKTGraphic::create(SKTGraphic::Kind::Shape);
    s->setBounds(frame);
    s->Set_Shape_Type(type);
    s->_fillColor = QColor(200, 60, 60);
    s->_strokeColor = QColor(20, 40, 20);
    s->_strokeWidth = 2;
    return s;
}

// Eight rows, one name of each script; the photos of a column of paths alternate.
CardDesign everyKindCard(const QString &data)
{
    const QString red = writePhoto(data, "red.png", QColor(240, 200, 200), QColor(160, 20, 20));
    const QString blue = writePhoto(data, "blue.png", QColor(200, 220, 250), QColor(20, 40, 160));
    QStringList photos, codes;
    for (qsizetype i = 0; i < EveryScript.size(); ++i) {
        photos << (i % 2 ? blue : red);
        codes << QStringLiteral("CODE%1").arg(i + 1);
    }
    batchtest::writeSeries(data, "names", (EveryScript.join('\n') + "\n").toUtf8());
    batchtest::writeSeries(data, "photos", photos.join('\n').toUtf8());
    batchtest::writeSeries(data, "codes", codes.join('\n').toUtf8());
    CardDesign d;
    d.front << batchtest::text(QRectF(10, 8, 150, 24), 1, "names");
    GraphicPtr bound = SKTGraphic::create(SKTGraphic::Kind::Image);
    bound->setBounds(QRectF(170, 8, 60, 40));
    bound->data_source_type = 1;
    bound->batch_list_name = "photos";
    d.front << bound << photo(QRectF(170, 60, 60, 40), red);
    d.front << batchtest::barcode(QPointF(8, 40), 0, 9, 1, "codes")
            << batchtest::barcode(QPointF(170, 105), 1, 0, 0);
    d.back << batchtest::text(QRectF(10, 8, 150, 24), 1, "names");
    GraphicPtr fixed = batchtest::text(QRectF(10, 34, 225, 34), 0);
    fixed->Text_contents().text = EveryScript.mid(4).join(QStringLiteral(" · "));
    d.back << fixed << shape(QRectF(10, 75, 40, 30), ShapeCode::Circle)
           << shape(QRectF(60, 75, 40, 30), ShapeCode::Star);
    GraphicPtr line = SKTGraphic::create(SKTGraphic::Kind::Line);
    line->setBounds(QRectF(110, 75, 40, 30));
    line->_strokeColor = QColor(10, 80, 10);
    line->_strokeWidth = 3;
    GraphicPtr signature = SKTSignature::initWithPath(
        QPointF(200, 110), QStringLiteral(TESSALY_SOURCE_RESOURCES "/sign_sample.png"),
        SignatureCode::Signature);
    signature->setBounds(QRectF(160, 75, 70, 35));
    d.back << line << signature;
    d.frontPage.Card_Side = "2";
    d.setCardSize(QSizeF(243, 154));
    return d;
}

// Every file of an export's batch folder, decoded.
std::map<QString, QImage> exported(const std::shared_ptr<const RunPlan> &plan, const QString &to, int threads)
{
    ExportProgress progress;
    ExportOptions options;
    options.side = ExportSide::Both;
    options.dpi = 100;
    options.threads = threads;
    const ExportResult r = CardExport::run(plan, to, options, &progress);
    EXPECT_TRUE(r.ok()) << r.message().toStdString();
    std::map<QString, QImage> pictures;
    const QDir folder(ExportPaths::batchFolderPath(to));
    for (const QString &name : folder.entryList(QDir::Files))
        pictures[name] = QImage(folder.filePath(name)).convertToFormat(QImage::Format_ARGB32);
    return pictures;
}

// Both sides of every row on A4 sheets, two labels across.
QByteArray printed(const std::shared_ptr<const RunPlan> &plan, QSizeF card, int threads)
{
    PrintLayout layout;
    layout.setMargins(QSizeF(595, 842), QRectF(0, 0, 595, 842));
    layout.resetForOpening(card, true, plan->cardCount());
    layout.Print_Card_Side = SideCode::Both;
    PrintFields fields;
    fields.widthMm = PrintLayout::Points_to_MM_Convert(float(card.width()));
    fields.heightMm = PrintLayout::Points_to_MM_Convert(float(card.height()));
    fields.cols = 1;
    fields.rows = 5;
    EXPECT_TRUE(layout.Check_Max_Cell_Value(fields).ok());
    layout.Total_Label = plan->cardCount();
    Printing_View view(layout, {}, plan, card);
    view.setFillThreads(threads);
    QByteArray pdf;
    QBuffer out(&pdf);
    out.open(QIODevice::WriteOnly);
    EXPECT_TRUE(view.paintPdf(out, QStringLiteral("test"), QString()).ok());
    return pdf;
}

} // namespace

TEST(SameOutput, TheEveryKindCardGivesThePixelsAndTextOfItsRowsOnAnyThreads)
{
    for (const char *tool : {"pdftotext", "pdftoppm"})
        if (!testsupport::hasTool(tool))
            GTEST_SKIP() << tool << " is not installed";
    QTemporaryDir tmp;
    const QString data = tmp.filePath("DataSet");
    const CardDesign design = everyKindCard(data);
    const auto plan = batchtest::planIn(design, data, RunPlan::Choices(), TESSALY_SOURCE_RESOURCES);
    ASSERT_EQ(plan->cardCount(), EveryScript.size());

    std::map<QString, QImage> firstCards;
    QString firstText;
    QImage firstSheet;
    int run = 0;
    for (const int threads : {1, 2, 8}) {
        for (int time = 0; time < 3; ++time, ++run) {
            const std::map<QString, QImage> cards =
                exported(plan, tmp.filePath(QString::number(run)), threads);
            ASSERT_EQ(cards.size(), size_t(2 * EveryScript.size()));
            const QString pdf = tmp.filePath(QStringLiteral("sheets%1.pdf").arg(run));
            ASSERT_TRUE(testsupport::writeFile(pdf, printed(plan, design.cardSize(), threads)));
            QString text = testsupport::output("pdftotext", {pdf, "-"});
            // Right-to-left lines come back inside direction marks, and a page begins with a form feed.
            text.remove(QChar(0x202B)).remove(QChar(0x202C)).remove(QChar('\f'));
            testsupport::run("pdftoppm",
                             {"-r", "30", "-f", "1", "-l", "1", "-png", pdf, tmp.filePath("sheet")});
            const QImage sheet = QImage(tmp.filePath("sheet-1.png")).convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(sheet.isNull());
            if (run == 0) {
                firstCards = cards;
                firstText = text;
                firstSheet = sheet;
                for (const QString &name : EveryScript)
                    EXPECT_EQ(text.split('\n').count(name), 2) << name.toStdString() << "\n"
                                                               << text.toStdString();
                continue;
            }
            for (const auto &[name, picture] : cards)
                EXPECT_TRUE(picture == firstCards[name])
                    << name.toStdString() << " on " << threads << " threads";
            EXPECT_EQ(text, firstText) << threads << " threads";
            EXPECT_TRUE(sheet == firstSheet) << threads << " threads";
        }
    }
}
