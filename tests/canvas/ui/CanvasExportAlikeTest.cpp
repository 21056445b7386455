// What the canvas shows is what the first card gets: each kind of object, typed or bound, in a
// frame smaller or larger than what it holds, on either side, drawn by the canvas and by the export
// at the same resolution, pixel against pixel. A bound object shows its source's first row on the
// canvas (as binding puts it there), and the first card prints that row, so it is compared alike.
#include "CanvasFixture.h"

#include "canvas/ui/CanvasPictureFilters.h"
#include "data/DataSourceChoices.h"
#include "data/ExcelBindingTable.h"
#include "foundation/DataRoot.h"
#include "model/SKTBarcode.h"
#include "model/SKTImage.h"
#include "model/SKTSignature.h"
#include "output/BatchCardRenderer.h"
#include "output/OwnBarcodePicture.h"
#include "output/RunPlan.h"
#include "platform/Units.h"
#include "support/DesignSetup.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRadialGradient>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <vector>

namespace
{

// The names the sources of the table go by.
const QString Names = QStringLiteral("names");
const QString Photos = QStringLiteral("photos");
const QString Codes = QStringLiteral("codes");

// A picture file of size, a radial gradient from inner to outer under a dark diagonal, its corners
// transparent when alpha: detail that any scaling or placing difference shows in.
QString writePicture(const QString &folder, const QString &name, QSize size, QColor inner, QColor outer,
                     bool alpha)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(alpha ? Qt::transparent : Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient g(QPointF(size.width() / 2.0, size.height() / 2.0), size.width() / 2.0);
        g.setColorAt(0, inner);
        outer.setAlpha(alpha ? 140 : 255);
        g.setColorAt(1, outer);
        p.setBrush(g);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(QPointF(0, 0), QSizeF(size)));
        p.setPen(QPen(QColor(20, 20, 20), size.width() / 40.0));
        p.drawLine(QPointF(0, 0), QPointF(size.width(), size.height()));
    }
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

// Pixels of one picture whose colour lies outside the colours around its place in the other (within
// a pixel either way, each channel widened by a sixth of the range), either way. The canvas shows a
// bound barcode as the picture binding made and the card one made anew on its row, and scaled
// pixels, glyphs and bars on a fractional grid each blend along their own pixel edges: the same
// drawing a pixel apart is alike; anything moved further, of another colour or missing is not.
int differingPixels(const QImage &a, const QImage &b, QImage *marked)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    const auto withinAround = [](const QImage &in, int col, int row, QRgb colour) {
        int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
        for (int r = std::max(0, row - 1); r <= std::min(in.height() - 1, row + 1); ++r)
            for (int c = std::max(0, col - 1); c <= std::min(in.width() - 1, col + 1); ++c) {
                const QRgb q = in.pixel(c, r);
                const int channels[3] = {qRed(q), qGreen(q), qBlue(q)};
                for (int k = 0; k < 3; ++k) {
                    low[k] = std::min(low[k], channels[k]);
                    high[k] = std::max(high[k], channels[k]);
                }
            }
        const int own[3] = {qRed(colour), qGreen(colour), qBlue(colour)};
        for (int k = 0; k < 3; ++k)
            if (own[k] < low[k] - 42 || own[k] > high[k] + 42)
                return false;
        return true;
    };
    const int w = std::min(x.width(), y.width()), h = std::min(x.height(), y.height());
    std::vector<char> off(size_t(w) * size_t(h), 0);
    *marked = x;
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            if (!withinAround(y, col, row, x.pixel(col, row)) ||
                !withinAround(x, col, row, y.pixel(col, row))) {
                off[size_t(row) * w + col] = 1;
                marked->setPixel(col, row, qRgb(255, 0, 255));
            }
    // A stem or edge a pixel wide drawn otherwise is no difference a user sees at that size; two
    // pixels each way are: count the pixels that start a square of two by two that differ.
    const auto at = [&](int col, int row) { return off[size_t(row) * w + col] != 0; };
    int count = 0;
    for (int row = 0; row + 1 < h; ++row)
        for (int col = 0; col + 1 < w; ++col)
            count += at(col, row) && at(col + 1, row) && at(col, row + 1) && at(col + 1, row + 1);
    return count;
}

} // namespace

class CanvasExportAlike : public CanvasFixture
{
protected:
    void SetUp() override
    {
        CanvasFixture::SetUp();
        ASSERT_TRUE(root.isValid());
        const QDir shipped(QStringLiteral(TESSALY_SOURCE_RESOURCES));
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("Fill_Style_Image")));
        for (const char *name : {"sign_sample.png", "fingerprints.png", "Fill_Style_Image/Bricks.png"})
            ASSERT_TRUE(
                QFile::copy(shipped.filePath(QLatin1String(name)), root.filePath(QLatin1String(name))));
        FoundationState::instance().setResourcePath(root.path() + QLatin1Char('/'));
        ASSERT_TRUE(QDir().mkpath(Data_Folder_Path));
        small = writePicture(root.path(), QStringLiteral("small.png"), QSize(64, 40), Qt::white,
                             QColor(200, 30, 30), false);
        large = writePicture(root.path(), QStringLiteral("large.png"), QSize(1400, 900), // 1.26 MP
                             QColor(250, 200, 40), QColor(30, 90, 200), false);
        clear = writePicture(root.path(), QStringLiteral("clear.png"), QSize(120, 120), QColor(40, 200, 90),
                             QColor(120, 0, 160), true);
        // First values with spaces around them, as sheets and lists often hold them: cards trim them.
        writeSeries(Names, {QStringLiteral("   Ada Lovelace  "), QStringLiteral("Grace")});
        writeSeries(Photos, {clear + QStringLiteral(" "), small});
        writeSeries(Codes, {QStringLiteral(" https://example.com/card/1 "), QStringLiteral("ROW-2")});

        testsupport::arrangeSettings(document, [this](DesignSettings &s) {
            for (int side : {0, 1}) {
                Card_Property &page = s.page(side);
                page.resetForNewDesign(Qt::black, Card_Property::defaultContentFont());
                page.Card_fill_chk = true;
                page.Card_fill_style = FillCode::Gradient;
                page.Card_fill_Grd_1_clr = side == 0 ? QColor(250, 235, 210) : QColor(215, 240, 220);
                page.Card_fill_Grd_2_clr = QColor(205, 220, 250);
            }
            s.frontPage.Card_Side = QStringLiteral("2");
            s.backPage.Card_Side = QStringLiteral("2");
            ExcelBindingTable table;
            table.setColumnTitles({QStringLiteral("First"), QStringLiteral("Code"), QStringLiteral("Photo")});
            table.setListData({{{ExcelBindingTable::rowNumberKey(), QStringLiteral("1")},
                                {ExcelBindingTable::columnIdentifier(1), QStringLiteral("  Mira ")},
                                {ExcelBindingTable::columnIdentifier(2), QStringLiteral("4006381333931")},
                                {ExcelBindingTable::columnIdentifier(3), small}},
                               {{ExcelBindingTable::rowNumberKey(), QStringLiteral("2")},
                                {ExcelBindingTable::columnIdentifier(1), QStringLiteral("Jonas")},
                                {ExcelBindingTable::columnIdentifier(2), QStringLiteral("9780201379624")},
                                {ExcelBindingTable::columnIdentifier(3), clear}}});
            s.binding = table;
        });
    }
    void TearDown() override
    {
        CanvasFixture::TearDown();
        FoundationState::instance().setResourcePath(QStringLiteral(TESSALY_SOURCE_RESOURCES));
    }

    void writeSeries(const QString &name, const QStringList &values)
    {
        QFile file(QDir(Data_Folder_Path).filePath(name + QStringLiteral(".txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((values.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }

    // The side as the canvas shows it, nothing selected, once every picture it shows is ready.
    QImage canvasShows(int side)
    {
        const Card_Property page = document.design().settings().page(side);
        host.page = page;
        view->bindGraphics(document, side == 1 ? SKTDocument::Back : SKTDocument::Front);
        view->changeSelectionIndexes({});
        view->update();
        CanvasDriver::settle();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !view->pictureFilters().isRunning(); }, 10000));
        view->repaint();
        EXPECT_FALSE(view->pictureFilters().isRunning());
        const QSizeF card = view->cardSize();
        return view
            ->grab(QRect(0, 0, int(std::ceil(card.width() * f() - 1e-9)),
                         int(std::ceil(card.height() * f() - 1e-9))))
            .toImage();
    }

    // The side of the first card of plan as the export draws it at the canvas's resolution.
    QImage firstCard(const std::shared_ptr<const RunPlan> &plan, int side)
    {
        BatchCardRenderer renderer(plan, Units::PointsPerInch * f(), true);
        QString error;
        const QImage card = renderer.renderSide(0, side == 1, &error);
        EXPECT_FALSE(card.isNull()) << error.toStdString();
        return card;
    }

    QTemporaryDir root;
    QString small, large, clear;
};

namespace
{

GraphicPtr text(const QRectF &frame, const QString &words)
{
    GraphicPtr t = SKTGraphic::create(SKTGraphic::Kind::Text);
    t->setBounds(frame);
    t->_Text_contents = AttributedText{words, {}, {}, 0};
    t->text_ctrl_font = FontDescriptor{QStringLiteral("DejaVu Sans"), 16};
    t->txt_clr = QColor(30, 30, 120);
    t->_isDrawingFill = false;
    t->_isDrawingStroke = false;
    return t;
}

// Bound as binding leaves it: the source's first value shown.
GraphicPtr textOfSeries(const QRectF &frame)
{
    GraphicPtr t = text(frame, DataSourceChoices::Get_First_Value_Of_Dataset(Data_Folder_Path, Names));
    t->Set_Data_source_type(DataSourceCode::Series);
    t->Set_Batch_List_Name(Names);
    return t;
}

GraphicPtr textOfColumn(const QRectF &frame, const ExcelBindingTable &table)
{
    GraphicPtr t = text(frame, DataSourceChoices::Get_First_Value_Of_Excel_Binding(table, 1));
    t->Set_Data_source_type(DataSourceCode::BindingColumn);
    t->Set_Excel_binding_Column(1, QStringLiteral("First"));
    return t;
}

GraphicPtr picture(const QRectF &frame, const QString &path)
{
    auto p = SKTImage::initWithPath(frame.topLeft(), path);
    p->setBounds(frame);
    return p;
}

GraphicPtr shape(const QRectF &frame, QLatin1String type, const std::function<void(SKTGraphic &)> &style = {})
{
    GraphicPtr s = SKTGraphic::create(SKTGraphic::Kind::Shape);
    s->setBounds(frame);
    s->Set_Shape_Type(type);
    s->_fillColor = QColor(200, 60, 60);
    s->_strokeColor = QColor(20, 40, 20);
    s->_strokeWidth = 3;
    if (style)
        style(*s);
    return s;
}

GraphicPtr line(const QRectF &frame, int orientation, int cap)
{
    GraphicPtr l = SKTGraphic::create(SKTGraphic::Kind::Line);
    l->setBounds(frame);
    l->_line_ori = orientation;
    l->_line_cap_style = cap;
    l->_strokeColor = QColor(10, 80, 10);
    l->_strokeWidth = 5;
    return l;
}

GraphicPtr signature(const QRectF &frame, QLatin1String code)
{
    auto s = SKTSignature::initWithPath(frame.topLeft(), QStringLiteral("Default"), code);
    s->setBounds(frame);
    return s;
}

// A barcode with the picture its settings make, kept as a design keeps it; frame is a factor of
// that picture's size (its top-left corner at 20, 20).
GraphicPtr barcode(bool twoD, const QString &value, QSizeF frame, int source = DataSourceCode::Fixed,
                   const QString &series = {})
{
    auto b = std::dynamic_pointer_cast<SKTBarcode>(SKTGraphic::create(SKTGraphic::Kind::Barcode));
    b->linear_or_2d = twoD ? 1 : 0;
    const QStringList &titles = twoD ? BarcodeSettings::twoDTitles() : BarcodeSettings::linearTitles();
    b->barcode_font_index =
        int(titles.indexOf(twoD ? QStringLiteral("QR Code") : QStringLiteral("Code 128")));
    EXPECT_GE(b->barcode_font_index, 0);
    (twoD ? b->two_d_font_val : b->linear_font_val) = value;
    b->Set_Data_source_type(source);
    if (source == DataSourceCode::Series)
        b->Set_Batch_List_Name(series);
    else if (source == DataSourceCode::BindingColumn)
        b->Set_Excel_binding_Column(2, QStringLiteral("Code"));
    const std::optional<Picture> made = OwnBarcodePicture::stored(*b);
    EXPECT_TRUE(made);
    const QSizeF size = made ? made->size() : QSizeF(40, 40);
    b->Set_Barcode_image(made);
    b->setBounds(
        QRectF(QPointF(20, 20), QSizeF(size.width() * frame.width(), size.height() * frame.height())));
    return b;
}

} // namespace

TEST_P(CanvasExportAlike, EveryKindOfObjectShowsOnTheCanvasAsTheFirstCardPrintsIt)
{
    const ExcelBindingTable &table = document.design().binding;
    const QString firstCode = DataSourceChoices::Get_First_Value_Of_Excel_Binding(table, 2);
    const QString firstOfCodes = DataSourceChoices::Get_First_Value_Of_Dataset(Data_Folder_Path, Codes);
    const struct {
        const char *name;
        int side;
        bool bound; // the first card prints its source's first row
        std::function<GraphicPtr()> make;
    } cases[] = {
        {"typed text", 0, false,
         [] { return text(QRectF(20, 20, 180, 60), QStringLiteral("Happy Birthday")); }},
        {"typed text on the back", 1, false,
         [] { return text(QRectF(30, 60, 180, 40), QStringLiteral("Back")); }},
        {"typed text past a smaller frame", 0, false,
         [] { return text(QRectF(20, 20, 60, 20), QStringLiteral("Many happy returns of the day")); }},
        {"one word wider than its frame, framed", 0, false,
         [] {
             GraphicPtr t = text(QRectF(20, 20, 50, 30), QStringLiteral("Congratulations"));
             t->_isDrawingStroke = true;
             return t;
         }},
        {"text of a series", 0, true, [] { return textOfSeries(QRectF(20, 40, 200, 40)); }},
        {"text of a series on the back", 1, true, [] { return textOfSeries(QRectF(20, 40, 200, 40)); }},
        {"text of a workbook column", 0, true, [&] { return textOfColumn(QRectF(20, 40, 200, 40), table); }},
        {"text whose source is Excel with no column chosen", 0, false,
         [] {
             // As the data-source tab leaves it: the typed words, bound to nothing.
             GraphicPtr t = text(QRectF(20, 40, 200, 40), QStringLiteral("Typed words"));
             t->Set_Excel_binding_Column(0, QString());
             return t;
         }},
        {"small picture, frame larger", 0, false, [&] { return picture(QRectF(30, 20, 160, 100), small); }},
        {"small picture, frame smaller", 0, false, [&] { return picture(QRectF(30, 20, 40, 25), small); }},
        {"large picture", 0, false, [&] { return picture(QRectF(10, 10, 200, 128), large); }},
        {"large picture on the back", 1, false, [&] { return picture(QRectF(40, 30, 100, 64), large); }},
        {"picture with transparency", 0, false,
         [&] {
             GraphicPtr p = picture(QRectF(40, 20, 110, 110), clear);
             p->img_trnsp_val = 70;
             return p;
         }},
        {"rotated picture", 0, false,
         [&] {
             GraphicPtr p = picture(QRectF(40, 20, 120, 80), small);
             p->rotate_image = 90;
             return p;
         }},
        {"large picture, sepia and blurred", 0, false,
         [&] {
             GraphicPtr p = picture(QRectF(30, 20, 160, 100), large);
             p->Sepia = true;
             p->blr_val = 3;
             p->con_val = 1.4f;
             return p;
         }},
        {"flipped picture", 0, false,
         [&] {
             GraphicPtr p = picture(QRectF(40, 20, 120, 80), small);
             p->_isFlippedHorizontally = true;
             return p;
         }},
        {"picture of a series", 0, true,
         [&] {
             GraphicPtr p = picture(QRectF(40, 20, 110, 110),
                                    DataSourceChoices::Get_First_Value_Of_Dataset(Data_Folder_Path, Photos));
             p->Set_Data_source_type(DataSourceCode::Series);
             p->Set_Batch_List_Name(Photos);
             return p;
         }},
        {"picture of a workbook column on the back", 1, true,
         [&] {
             GraphicPtr p = picture(QRectF(40, 20, 130, 80),
                                    DataSourceChoices::Get_First_Value_Of_Excel_Binding(table, 3));
             p->Set_Data_source_type(DataSourceCode::BindingColumn);
             p->Set_Excel_binding_Column(3, QStringLiteral("Photo"));
             return p;
         }},
        {"rectangle", 0, false, [] { return shape(QRectF(20, 20, 150, 90), ShapeCode::Rectangle); }},
        {"dashed ellipse", 0, false,
         [] {
             return shape(QRectF(20, 20, 150, 90), ShapeCode::Circle,
                          [](SKTGraphic &s) { s._stroke_border_type = QString(BorderCode::Dash); });
         }},
        {"gradient star", 0, false,
         [] {
             return shape(QRectF(40, 10, 120, 120), ShapeCode::Star, [](SKTGraphic &s) {
                 s._fill_type = QString(FillCode::Gradient);
                 s._fill_Grad_clr1 = QColor(240, 200, 0);
                 s._fill_Grad_clr2 = QColor(0, 100, 200);
                 s._fill_grad_angle = 35;
             });
         }},
        {"hatched rounded rectangle", 0, false,
         [] {
             return shape(QRectF(20, 20, 180, 100), ShapeCode::RoundedRectangle, [](SKTGraphic &s) {
                 s._fill_type = QString(FillCode::Hatch);
                 s._fill_hatch_type = QStringLiteral("Bricks");
                 s._fill_htch_clr = QColor(250, 240, 150);
             });
         }},
        {"half-transparent triangle on the back", 1, false,
         [] {
             return shape(QRectF(20, 20, 150, 100), ShapeCode::Triangle,
                          [](SKTGraphic &s) { s.alpha_val = 50; });
         }},
        {"falling line, round caps", 0, false, [] { return line(QRectF(20, 20, 180, 100), 0, 1); }},
        {"rising line, square caps", 0, false, [] { return line(QRectF(20, 20, 180, 100), 1, 2); }},
        {"signature", 0, false, [] { return signature(QRectF(20, 20, 160, 70), SignatureCode::Signature); }},
        {"fingerprint on the back", 1, false,
         [] { return signature(QRectF(60, 20, 70, 90), SignatureCode::Fingerprint); }},
        {"Code 128, frame smaller", 0, false,
         [] { return barcode(false, QStringLiteral("TESSALY-1"), QSizeF(0.5, 0.5)); }},
        {"Code 128, frame larger", 0, false,
         [] { return barcode(false, QStringLiteral("TESSALY-1"), QSizeF(1.3, 1.4)); }},
        {"QR Code, frame smaller", 0, false,
         [] { return barcode(true, QStringLiteral("https://example.com/a"), QSizeF(0.6, 0.4)); }},
        {"QR Code, frame larger", 0, false,
         [] { return barcode(true, QStringLiteral("https://example.com/a"), QSizeF(1.2, 1.2)); }},
        {"QR Code of a series, frame smaller", 0, true,
         [&] { return barcode(true, firstOfCodes, QSizeF(0.7, 0.7), DataSourceCode::Series, Codes); }},
        {"QR Code of a series on the back, frame larger", 1, true,
         [&] { return barcode(true, firstOfCodes, QSizeF(1.2, 1.1), DataSourceCode::Series, Codes); }},
        {"Code 128 of a workbook column", 0, true,
         [&] { return barcode(false, firstCode, QSizeF(0.8, 1.0), DataSourceCode::BindingColumn); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        for (int side : {0, 1})
            while (!(side == 1 ? document.design().back : document.design().front).isEmpty())
                document.removeGraphicsFromSide(side, {0});
        const GraphicPtr object = c.make();
        ASSERT_TRUE(object);
        document.insertGraphicsIntoSide(c.side, {object}, {0});

        const auto plan = RunPlan::make(document.design());
        ASSERT_EQ(plan->fills(c.side == 1, 0), c.bound);
        const QImage shown = canvasShows(c.side), printed = firstCard(plan, c.side);
        ASSERT_EQ(shown.size(), printed.size());
        QImage marked;
        const int differing = differingPixels(shown, printed, &marked);
        // Blends along an edge can meet in a square here and there: one per eight points of the
        // object's width and height; a word, bar or outline drawn otherwise makes hundreds.
        const QRectF drawn = object->drawingBounds();
        const int allowed = int((drawn.width() + drawn.height()) * f() / 8);
        if (differing > allowed) {
            const QString name = QString::fromLatin1(c.name)
                                     .replace(QLatin1Char(' '), QLatin1Char('-'))
                                     .remove(QLatin1Char(','));
            const QString at =
                QStringLiteral(TESSALY_ARTIFACTS_DIR "/alike-%1-%2").arg(name).arg(int(f() * 100));
            QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
            shown.save(at + QStringLiteral("-canvas.png"));
            printed.save(at + QStringLiteral("-card.png"));
            marked.save(at + QStringLiteral("-differing.png"));
        }
        EXPECT_LE(differing, allowed) << c.name << " at " << f() * 100 << " %";
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, CanvasExportAlike, ::testing::Values(1.0, 1.5, 2.0));
