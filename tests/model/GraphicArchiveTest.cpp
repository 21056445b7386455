// The card object record: its keyed archive read back field for field.
#include "ModelFixture.h"

#include "model/SKTBarcode.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTSignature.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/PropertyList.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

namespace
{

using Kind = SKTGraphic::Kind;

// The keys of an object archive in the order they were written.
QStringList archiveKeys(const QByteArray &archive)
{
    const PropertyList::ReadResult r = PropertyList::read(archive);
    const plist::Array &objects = r.value.toDict().value(QStringLiteral("$objects")).toArray();
    const quint64 root =
        r.value.toDict().value(QStringLiteral("$top")).toDict().value(QStringLiteral("root")).toUid().value;
    QStringList keys;
    for (const auto &[k, v] : objects.at(qsizetype(root)).toDict().items())
        if (k != QLatin1String("$class"))
            keys << k;
    return keys;
}

class GraphicArchiveTest : public ModelTest
{
};

} // namespace

TEST_F(GraphicArchiveTest, WritesTheKeysInOrderAndLinesAddTheirDirection)
{
    auto shape = SKTGraphic::create(Kind::Shape);
    const QStringList keys = archiveKeys(shape->archivedData());
    ASSERT_EQ(keys.size(), 96);
    EXPECT_EQ(keys.at(0), QStringLiteral("_bounds"));
    EXPECT_EQ(keys.at(1), QStringLiteral("ctrl_is_locked"));
    EXPECT_EQ(keys.at(40), QStringLiteral("_shape_type"));
    EXPECT_EQ(keys.at(41), QStringLiteral("cor_rad_val_val"));
    EXPECT_EQ(keys.at(92), QStringLiteral("polygon_type"));
    EXPECT_EQ(keys.at(93), QStringLiteral("excel_col_title"));
    EXPECT_EQ(keys.at(94), QStringLiteral("manual_file_path"));
    EXPECT_EQ(keys.at(95), QStringLiteral("kerning_value"));

    auto line = SKTGraphic::create(Kind::Line);
    const QStringList lineKeys = archiveKeys(line->archivedData());
    ASSERT_EQ(lineKeys.size(), 98);
    EXPECT_EQ(lineKeys.mid(96), (QStringList{QStringLiteral("_pointsRight"), QStringLiteral("_pointsDown")}));
}

TEST_F(GraphicArchiveTest, RoundTripKeepsEveryFieldAndNarrowsTheTwoDoubles)
{
    for (Kind kind : {Kind::Text, Kind::Image, Kind::Line, Kind::Shape, Kind::Signature, Kind::Barcode}) {
        auto g = SKTGraphic::create(kind);
        g->_bounds = QRectF(1.5, 2.25, 30, 40);
        g->_strokeWidth = 1.3;
        g->_fill_grad_angle = 33.3;
        g->_fillColor = QColor::fromRgbF(0.25f, 0.5f, 0.75f, 1.0f);
        g->_fill_hatch_type = QStringLiteral("Hatch1");
        g->gray_Scale = true;
        g->hue_val = 0.7f;
        g->data_source_type = 2;
        g->batch_list_name = QStringLiteral("Names");
        g->alpha_val = 0.5f;
        g->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 18.0};
        g->Text_contents().text = QStringLiteral("Dear friend");
        g->_shape_type = QStringLiteral("DS");
        g->linear_font_val = QString(); // an empty string stays an empty string
        g->header_font_val = std::nullopt;
        g->barcode_back_clr_val = std::nullopt;
        g->ctrl_is_locked = true;
        g->control_ID = QStringLiteral("Fup_Name");
        g->polygon_type = -7;
        QImage img(4, 3, QImage::Format_ARGB32);
        img.fill(Qt::red);
        g->_barcode_image = Picture(img);

        QString error;
        GraphicPtr back = SKTGraphic::unarchive(g->archivedData(), &error);
        ASSERT_TRUE(back) << error.toStdString();
        EXPECT_EQ(back->kind(), kind);
        // A barcode comes back framing the picture it draws.
        EXPECT_EQ(back->_bounds, kind == Kind::Barcode
                                     ? QRectF(g->_bounds.topLeft(), g->_barcode_image->size())
                                     : g->_bounds);
        EXPECT_EQ(back->_strokeWidth, double(1.3f));
        EXPECT_NE(back->_strokeWidth, 1.3);
        EXPECT_EQ(back->_fill_grad_angle, double(33.3f));
        EXPECT_EQ(back->_fillColor->rgba(), g->_fillColor->rgba());
        EXPECT_EQ(back->_fill_hatch_type, g->_fill_hatch_type);
        EXPECT_TRUE(back->gray_Scale);
        EXPECT_EQ(back->hue_val, 0.7f);
        EXPECT_EQ(back->data_source_type, 2);
        EXPECT_EQ(back->batch_list_name, g->batch_list_name);
        EXPECT_EQ(back->alpha_val, 0.5f);
        EXPECT_EQ(back->text_ctrl_font, g->text_ctrl_font);
        ASSERT_TRUE(back->_Text_contents);
        EXPECT_EQ(back->_Text_contents->text, QStringLiteral("Dear friend"));
        EXPECT_EQ(back->_shape_type, g->_shape_type);
        ASSERT_TRUE(back->linear_font_val);
        EXPECT_TRUE(back->linear_font_val->isEmpty());
        EXPECT_FALSE(back->header_font_val);
        EXPECT_FALSE(back->barcode_back_clr_val);
        EXPECT_TRUE(back->ctrl_is_locked);
        EXPECT_EQ(back->control_ID, g->control_ID);
        EXPECT_EQ(back->polygon_type, -7);
        ASSERT_TRUE(back->_barcode_image);
        EXPECT_EQ(back->_barcode_image->size(), QSizeF(4, 3));
        EXPECT_EQ(back->FilePath(), g->FilePath());
        EXPECT_EQ(back->value_font_val, g->value_font_val);
        EXPECT_EQ(back->align_ftr_index, 1);
    }
}

TEST_F(GraphicArchiveTest, MissingKeysReadAsZero)
{
    // An archive of a text that names its class but holds no field at all.
    plist::Dict top;
    top.insert(QStringLiteral("root"), plist::Value(plist::Uid{1}));
    plist::Dict object;
    object.insert(QStringLiteral("$class"), plist::Value(plist::Uid{2}));
    plist::Dict cls;
    cls.insert(QStringLiteral("$classname"), plist::Value(QStringLiteral("SKTText")));
    cls.insert(QStringLiteral("$classes"),
               plist::Value(plist::Array{plist::Value(QStringLiteral("SKTText"))}));
    plist::Dict archive;
    archive.insert(QStringLiteral("$archiver"), plist::Value(QStringLiteral("NSKeyedArchiver")));
    archive.insert(QStringLiteral("$version"), plist::Value(100000));
    archive.insert(QStringLiteral("$top"), plist::Value(top));
    archive.insert(QStringLiteral("$objects"),
                   plist::Value(plist::Array{plist::Value(QStringLiteral("$null")), plist::Value(object),
                                             plist::Value(cls)}));
    GraphicPtr g = SKTGraphic::unarchive(PropertyList::writeBinary(plist::Value(archive)));
    ASSERT_TRUE(g);
    EXPECT_FALSE(g->ctrl_is_visible);
    EXPECT_EQ(g->alpha_val, 0.0f);
    EXPECT_EQ(g->fillColor(), std::nullopt);
    EXPECT_EQ(g->strokeBorderType(), QString());
    EXPECT_FALSE(g->_file_path);
    EXPECT_EQ(g->double_star_type, 0);
    EXPECT_EQ(g->bounds(), QRectF());
}

TEST_F(GraphicArchiveTest, TextStorageIsStoredOnlyOnceAskedFor)
{
    auto text = SKTGraphic::create(Kind::Text);
    GraphicPtr before = SKTGraphic::unarchive(text->archivedData());
    ASSERT_TRUE(before);
    EXPECT_FALSE(before->_Text_contents);
    text->Text_contents();
    GraphicPtr after = SKTGraphic::unarchive(text->archivedData());
    ASSERT_TRUE(after && after->_Text_contents);
    EXPECT_EQ(after->_Text_contents->text, QStringLiteral("Text here"));
    EXPECT_EQ(after->_Text_contents->font.postScriptName, QStringLiteral("TimesNewRomanPS-ItalicMT"));
}

TEST_F(GraphicArchiveTest, LineKeepsItsDirectionThroughTheArchive)
{
    auto line = std::make_shared<SKTLine>();
    line->setBeginPoint(QPointF(10, 50));
    line->setEndPoint(QPointF(40, 20)); // rising to the right
    EXPECT_TRUE(line->_pointsRight);
    EXPECT_FALSE(line->_pointsDown);
    GraphicPtr back = SKTGraphic::unarchive(line->archivedData());
    ASSERT_TRUE(back);
    auto &l = static_cast<SKTLine &>(*back);
    EXPECT_EQ(l.beginPoint(), QPointF(10, 50));
    EXPECT_EQ(l.endPoint(), QPointF(40, 20));
}

TEST_F(GraphicArchiveTest, RefusesForeignClassesAndDamagedArchives)
{
    // A colour archive is a valid keyed archive but no card object.
    QString error;
    EXPECT_FALSE(SKTGraphic::unarchive(KeyedArchiver::archivedColor(QColor(1, 2, 3)), &error));
    EXPECT_FALSE(error.isEmpty());

    // Renaming the class to something that is not one of the six kinds.
    PropertyList::ReadResult r = PropertyList::read(SKTGraphic::create(Kind::Shape)->archivedData());
    ASSERT_TRUE(r.ok);
    plist::Array &objects = r.value.dict().find(QStringLiteral("$objects"))->array();
    for (plist::Value &o : objects) {
        if (o.isDict() && o.toDict().contains(QStringLiteral("$classname")))
            o.dict().insert(QStringLiteral("$classname"), plist::Value(QStringLiteral("SKTGraphic")));
    }
    EXPECT_FALSE(SKTGraphic::unarchive(r.value));

    const QByteArray good = SKTGraphic::create(Kind::Text)->archivedData();
    for (int cut = 0; cut < good.size(); cut += 7)
        SKTGraphic::unarchive(good.left(cut)); // must not crash
    EXPECT_FALSE(SKTGraphic::unarchive(QByteArray("not an archive")));
}

TEST_F(GraphicArchiveTest, PicturesLoadWithTheSizeCapOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wide.png"));
    QImage(1000, 300, QImage::Format_RGB32).save(path);
    auto image = SKTImage::initWithPath(QPointF(500, 500), path);
    ASSERT_TRUE(image->_contents);
    // Scaled down in its own proportions: 1000 x 300 to the cap's width.
    EXPECT_EQ(image->_contents->size(), QSizeF(724, 217.2));
    EXPECT_EQ(image->bounds(), QRectF(500 - 362, 500 - 108.6, 724, 217.2));
    EXPECT_EQ(host.resets, 1);

    image->setFilePath(dir.filePath(QStringLiteral("missing.png")));
    EXPECT_FALSE(image->_contents);
    EXPECT_EQ(image->FilePath(), dir.filePath(QStringLiteral("missing.png")));
    EXPECT_EQ(image->bounds().size(), QSizeF(724, 217.2)); // loading never moves the object
    // Paths from damaged designs that name no regular file load nothing (and never block).
    for (const char *odd : {"/dev/zero", "/", ""}) {
        image->setFilePath(QString::fromLatin1(odd));
        EXPECT_FALSE(image->_contents) << odd;
    }
}

// The pictures of a side that show nothing because their own file gave none: gone, or there but
// not a picture. Pictures that show, have no file, take a data source's files or are hidden are not.
TEST_F(GraphicArchiveTest, MissingPicturesAreThoseWhoseOwnFileGaveNone)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.png"));
    const QString broken = dir.filePath(QStringLiteral("broken.png"));
    QImage(10, 10, QImage::Format_RGB32).save(good);
    QFile(broken).open(QIODevice::WriteOnly);
    // A photo large enough to be drawn from its file, which goes once it was read.
    const QString removed = dir.filePath(QStringLiteral("removed.png"));
    QImage large(1200, 1000, QImage::Format_RGB32);
    large.fill(Qt::darkGreen);
    large.save(removed);
    const auto picture = [](const QString &path, int source = DataSourceCode::Fixed, bool visible = true) {
        auto image = std::make_shared<SKTImage>();
        image->setFilePath(path);
        image->data_source_type = source;
        image->ctrl_is_visible = visible;
        return image;
    };
    const GraphicList side = {
        picture(good),
        picture(dir.filePath(QStringLiteral("gone.png"))),
        SKTGraphic::create(SKTGraphic::Kind::Text),
        picture(QString()),
        picture(broken),
        picture(dir.filePath(QStringLiteral("row.png")), DataSourceCode::Series),
        picture(dir.filePath(QStringLiteral("hidden.png")), DataSourceCode::Fixed, false),
        picture(removed)};
    ASSERT_TRUE(QFile::remove(removed));
    const QList<SKTImage::MissingPicture> missing = SKTImage::missingPictures(side);
    ASSERT_EQ(missing.size(), 3);
    EXPECT_EQ(missing[0].object, side[1]);
    EXPECT_TRUE(missing[0].gone);
    EXPECT_EQ(SKTImage::describe(missing[0]), QStringLiteral("\"gone.png\", which was in ") + dir.path());
    EXPECT_EQ(missing[1].object, side[4]);
    EXPECT_FALSE(missing[1].gone);
    EXPECT_EQ(
        SKTImage::describe(missing[1]),
        QStringLiteral("\"broken.png\" in %1, which is not a picture that can be read").arg(dir.path()));
    EXPECT_EQ(missing[2].object, side.last());
    EXPECT_TRUE(missing[2].gone);
}

TEST_F(GraphicArchiveTest, SignatureResolvesDefaultByItsCode)
{
    auto s = std::make_shared<SKTSignature>();
    s->Set_Sign_Or_FP(QStringLiteral("F"));
    s->setFilePath(QStringLiteral("Default"));
    EXPECT_EQ(s->FilePath(), QStringLiteral("/res/fingerprints.png"));
    s->Set_Control_File_path(QStringLiteral("Default"));
    s->Set_Sign_Or_FP(QStringLiteral("S"));
    s->syncPicture();
    EXPECT_EQ(s->FilePath(), QStringLiteral("/res/sign_sample.png"));
    EXPECT_EQ(s->file_path, s->FilePath());
}
