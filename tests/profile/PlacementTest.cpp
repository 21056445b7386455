// Laying a personal-details record onto a side: hiding, reuse by identifier, default frames by the
// card's orientation, the sources handed to the objects, the photo, and a failure halfway.
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "model/SKTImage.h"
#include "profile/DocumentPlacementSide.h"
#include "profile/PersonalDetailsPlacement.h"
#include "profile/PlaceholderFrames.h"
#include "profile/User_Profile_Class.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
const QSizeF Landscape(243, 154);

class Placement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModelGlobals::instance().reset();
        record.Reset_All_Values();
    }
    void TearDown() override { ModelGlobals::instance().reset(); }

    PersonalDetailsPlacement::Report place(int side = SKTDocument::Front, QSizeF card = Landscape)
    {
        DocumentPlacementSide target(doc, side);
        const auto report = PersonalDetailsPlacement::place(record, target, card);
        tool = target.toolCode();
        return report;
    }
    GraphicPtr byId(const QString &id, int side = SKTDocument::Front) const
    {
        for (const GraphicPtr &g : doc.list(side))
            if (g->control_ID.value_or(QString()) == id)
                return g;
        return nullptr;
    }

    SKTDocument doc;
    User_Profile_Class record;
    int tool = -1;
};
} // namespace

TEST_F(Placement, AllEmptyHidesEveryDetailObjectAndMakesNothing)
{
    GraphicPtr name = SKTGraphic::create(SKTGraphic::Kind::Text);
    name->control_ID = QStringLiteral("Fup_Name");
    GraphicPtr shape = SKTGraphic::create(SKTGraphic::Kind::Shape);
    shape->control_ID = QStringLiteral("Fup_Title"); // not a text or picture: left alone
    GraphicPtr other = SKTGraphic::create(SKTGraphic::Kind::Text);
    other->control_ID = QStringLiteral("PARTY_TITLE");
    doc.insertGraphicsIntoSide(SKTDocument::Front, {name, shape, other}, {0, 1, 2});

    const auto report = place();
    EXPECT_EQ(report.placed, 0);
    EXPECT_EQ(doc.graphics().size(), 3);
    EXPECT_FALSE(name->ctrl_is_visible);
    EXPECT_TRUE(shape->ctrl_is_visible);
    EXPECT_TRUE(other->ctrl_is_visible);
    EXPECT_EQ(tool, 2);
}

TEST_F(Placement, NewObjectsTakeTheDefaultFrameAndReusedOnesKeepTheirs)
{
    record.Name.value = QStringLiteral("Ada Example");
    record.email.value = QStringLiteral("ada@example.com");
    place();
    const GraphicPtr name = byId("Fup_Name");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->kind(), SKTGraphic::Kind::Text);
    EXPECT_EQ(name->Text_Value.value_or(QString()), QStringLiteral("Ada Example"));
    EXPECT_EQ(name->bounds(), PlaceholderFrames::frame("Fup_Name", true));
    EXPECT_EQ(byId("Fup_EmailID")->bounds(), PlaceholderFrames::frame("Fup_EmailID", true));

    // The user moved the name; placing again writes the new value into the same object, in place.
    name->setBounds(QRectF(30, 40, 100, 20));
    record.Name.value = QStringLiteral("Ada B. Example");
    place();
    EXPECT_EQ(doc.graphics().size(), 2);
    EXPECT_EQ(name->bounds(), QRectF(30, 40, 100, 20));
    EXPECT_EQ(name->Text_contents().text, QStringLiteral("Ada B. Example"));
}

// New detail objects go where nothing is shown: clear of the card's words and of one another, at
// the default frame when it is clear, else at the clear place nearest to it; with no room left,
// at the default frame, and the report names them.
TEST_F(Placement, NewObjectsGoWhereNothingIsShownOrAreNamed)
{
    const struct {
        const char *what;
        QList<QRectF> there; // objects on the card before the details come
        QStringList moved;   // details not at their default frames
        QList<int> crowded;  // details the card had no room for
        QRectF barcode;      // a barcode's frame, its 94 x 53 picture drawn from its corner
    } cases[] = {
        {"an empty card", {}, {}, {}, {}},
        {"a hidden text over the phone", {}, {}, {}, {}},
        {"the message across the phone", {QRectF(8, 108, 200, 18)}, {"Fup_PhoneNO"}, {}, {}},
        {"a picture over the name", {QRectF(0, 0, 160, 64)}, {"Fup_Name"}, {}, {}},
        {"a card covered", {QRectF(0, 0, 243, 154)}, {}, {0, 5}, {}},
        {"a barcode's picture over the name, past its small frame", {}, {"Fup_Name"}, {}, {30, 0, 40, 5}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        doc.removeAllGraphicsFromSide(SKTDocument::Front);
        QList<QRectF> there = c.there;
        for (const QRectF &frame : there) {
            GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Text);
            g->setBounds(frame);
            doc.insertGraphicsIntoSide(SKTDocument::Front, {g}, {0});
        }
        if (QByteArray(c.what).startsWith("a hidden")) {
            GraphicPtr hidden = SKTGraphic::create(SKTGraphic::Kind::Text);
            hidden->setBounds(QRectF(8, 108, 200, 18));
            hidden->Set_Ctrl_Is_Visible(false);
            doc.insertGraphicsIntoSide(SKTDocument::Front, {hidden}, {0});
        }
        if (!c.barcode.isEmpty()) {
            GraphicPtr barcode = SKTGraphic::create(SKTGraphic::Kind::Barcode);
            QImage pixels(94, 53, QImage::Format_RGB32);
            pixels.fill(Qt::white);
            barcode->Set_Barcode_image(Picture(pixels, QSizeF(94, 53)));
            barcode->setBounds(c.barcode);
            doc.insertGraphicsIntoSide(SKTDocument::Front, {barcode}, {0});
            there << QRectF(c.barcode.topLeft(), QSizeF(94, 53));
        }
        record.Name.value = QStringLiteral("Ada Example");
        record.phone.value = QStringLiteral("555 0100");
        const auto report = place();
        EXPECT_EQ(report.placed, 2);
        EXPECT_EQ(report.crowded, c.crowded);
        QList<QRectF> placed;
        for (const char *id : {"Fup_Name", "Fup_PhoneNO"}) {
            const GraphicPtr g = byId(QString::fromLatin1(id));
            ASSERT_TRUE(g) << id;
            const QRectF wanted = PlaceholderFrames::frame(QString::fromLatin1(id), true);
            EXPECT_EQ(g->bounds().size(), wanted.size()) << id;
            EXPECT_EQ(g->bounds() != wanted, c.moved.contains(QString::fromLatin1(id))) << id;
            if (!c.crowded.isEmpty())
                continue;
            EXPECT_TRUE(QRectF(QPointF(0, 0), Landscape).contains(g->bounds())) << id;
            for (const QRectF &other : there + placed)
                EXPECT_FALSE(g->bounds().intersects(other)) << id;
            placed << g->bounds();
        }
    }
    PersonalDetailsPlacement::Report crowded;
    EXPECT_EQ(PersonalDetailsPlacement::crowdedText(crowded), QString());
    crowded.crowded = {5};
    EXPECT_EQ(PersonalDetailsPlacement::crowdedText(crowded),
              QStringLiteral("The card has no free room left for Phone No., so it lies over other objects at "
                             "the usual place. Drag it where you want."));
    crowded.crowded = {0, 5, 7};
    EXPECT_TRUE(PersonalDetailsPlacement::crowdedText(crowded).startsWith(
        QStringLiteral("The card has no free room left for Name, Phone No. and Email Id, so they lie")));
}

TEST_F(Placement, AnEmptiedDetailIsHiddenAndComesBackWhenRefilled)
{
    record.Title.value = QStringLiteral("Director");
    record.phone.value = QStringLiteral("555 0100");
    place();
    const GraphicPtr title = byId("Fup_Title");
    record.Title.value.clear();
    place();
    EXPECT_FALSE(title->ctrl_is_visible);
    EXPECT_TRUE(byId("Fup_PhoneNO")->ctrl_is_visible);
    EXPECT_EQ(doc.graphics().size(), 2);
    record.Title.value = QStringLiteral("Chair");
    place();
    EXPECT_TRUE(title->ctrl_is_visible);
    EXPECT_EQ(title->Text_Value.value_or(QString()), QStringLiteral("Chair"));
    EXPECT_EQ(doc.graphics().size(), 2);
}

TEST_F(Placement, OrientationComesFromTheFrontCardAndASquareIsLandscape)
{
    record.Company_name.value = QStringLiteral("Example Ltd");
    place(SKTDocument::Back, QSizeF(154, 243));
    EXPECT_EQ(byId("Fup_Company", SKTDocument::Back)->bounds(),
              PlaceholderFrames::frame("Fup_Company", false));
    EXPECT_TRUE(doc.graphics().isEmpty());
    place(SKTDocument::Front, QSizeF(200, 200));
    EXPECT_EQ(byId("Fup_Company")->bounds(), PlaceholderFrames::frame("Fup_Company", true));
}

TEST_F(Placement, ObjectsTakeTheSeriesOrTheColumnAndAFixedValueKeepsTheirOwn)
{
    record.Name.value = QStringLiteral("Guest 1");
    User_Profile_Class::setSeries(record.Name, QStringLiteral("names"), 2);
    record.email.value = QStringLiteral("a@example.com");
    User_Profile_Class::setColumn(record.email, 3);
    place();
    const GraphicPtr name = byId("Fup_Name");
    EXPECT_EQ(name->data_source_type, 1);
    EXPECT_EQ(name->batch_list_name_val(), QStringLiteral("names"));
    EXPECT_EQ(name->batch_list_index, 2);
    EXPECT_FALSE(name->excel_binding);
    const GraphicPtr email = byId("Fup_EmailID");
    EXPECT_EQ(email->data_source_type, 2);
    EXPECT_TRUE(email->excel_binding);
    EXPECT_EQ(email->excel_col_indx, 3);

    // Typed values now: the objects keep the bindings they have.
    User_Profile_Class::setFixed(record.Name);
    User_Profile_Class::setFixed(record.email);
    place();
    EXPECT_EQ(name->data_source_type, 1);
    EXPECT_EQ(email->excel_col_indx, 3);
}

TEST_F(Placement, ThePhotoIsAPictureObjectPlacedLast)
{
    QTemporaryDir tmp;
    const QString photo = tmp.filePath("me.png");
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(photo));
    record.image.value = photo;
    record.Name.value = QStringLiteral("N");
    place();
    const GraphicPtr pic = byId("Fup_Photo");
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->kind(), SKTGraphic::Kind::Image);
    EXPECT_EQ(pic->FilePath(), photo);
    EXPECT_EQ(pic->bounds(), PlaceholderFrames::frame("Fup_Photo", true));
    EXPECT_EQ(tool, 8);
    EXPECT_EQ(ModelGlobals::instance().Library_Selected_Image, photo);

    // A path that names no file leaves the placed picture as it was.
    record.image.value = tmp.filePath("gone.png");
    place();
    EXPECT_EQ(pic->FilePath(), photo);
    EXPECT_EQ(doc.graphics().size(), 2);
}

namespace
{
// Fails on the third detail it is asked to write; makes nothing for the e-mail.
class FailingSide : public DocumentPlacementSide
{
public:
    using DocumentPlacementSide::DocumentPlacementSide;
    int calls = 0;
    GraphicPtr ReplaceGraphicText(SKTGraphic::Kind kind, bool use_rect, const QRectF &rect,
                                  const QString &side, const QString &value, const QString &id) override
    {
        if (++calls == 3)
            throw std::runtime_error("disk on fire");
        if (id == QLatin1String("Fup_Title"))
            return nullptr;
        return DocumentPlacementSide::ReplaceGraphicText(kind, use_rect, rect, side, value, id);
    }
};
} // namespace

TEST_F(Placement, AnObjectNotMadeIsNotBoundAndAFailureKeepsWhatWasPlaced)
{
    record.Name.value = QStringLiteral("N");
    record.Title.value = QStringLiteral("T");
    User_Profile_Class::setSeries(record.Title, QStringLiteral("titles"), 1);
    record.address.value = QStringLiteral("A");
    FailingSide side(doc, SKTDocument::Front);
    const auto report = PersonalDetailsPlacement::place(record, side, Landscape);
    EXPECT_EQ(report.placed, 1);
    EXPECT_EQ(report.unbound, 1);
    EXPECT_EQ(report.error, QStringLiteral("disk on fire"));
    ASSERT_EQ(doc.graphics().size(), 1);
    // The name, made before, is not given the title's series.
    EXPECT_EQ(doc.graphics().first()->data_source_type, 0);

    DocumentPlacementSide plain(doc, SKTDocument::Front);
    EXPECT_EQ(plain.ReplaceGraphicText(SKTGraphic::Kind::Text, true, QRectF(5, 5, 0, 0), "F", "x", "Fup_Fax"),
              nullptr);
    EXPECT_EQ(doc.graphics().size(), 1);
}
