// The invitation layout: where each text stands for the values given, what it says and how it
// looks, and the design cardtool writes from it, read back by the design dump.
#include "editor/InvitationLayout.h"
#include "model/Card_Property.h"
#include "model/GraphicDrawContext.h"
#include "model/SKTGraphic.h"
#include "panels/CardSizeTables.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
constexpr double card = 340.16; // 120 mm
const QSizeF square(card, card);

InvitationDetails everything()
{
    InvitationDetails d;
    d.title = QStringLiteral("Garden Party");
    d.to = QStringLiteral("Ann");
    d.message = QStringLiteral("Join us for cake.");
    d.date = QStringLiteral("May 4");
    d.time = QStringLiteral("4:00 PM");
    d.venue = QStringLiteral("Rose Hall");
    d.from = QStringLiteral("Ben");
    return d;
}
} // namespace

TEST(InvitationLayout, FullInvitationStacksDownTheCard)
{
    const QList<InvitationItem> items = InvitationLayout::Fill_Party_Invidation_Details(everything(), square);
    ASSERT_EQ(items.size(), 6);
    const QList<QPair<QString, QPointF>> expected = {{"PARTY_TITLE", {40, 40}},  {"PARTY_TO", {30, 90}},
                                                     {"PARTY_MSG", {50, 120}},   {"PARTY_DATE", {30, 200}},
                                                     {"PARTY_VENUE", {30, 230}}, {"PARTY_FROM", {40, 300}}};
    for (int i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, expected[i].first);
        EXPECT_NEAR(items[i].frame.x(), expected[i].second.x(), 1e-4) << i;
        EXPECT_NEAR(items[i].frame.y(), expected[i].second.y(), 1e-4) << i;
        EXPECT_NEAR(items[i].frame.width(), 260.16, 1e-4) << i;
    }
    EXPECT_EQ(items[1].text, QStringLiteral("Dear Ann,"));
    EXPECT_EQ(items[3].text, QStringLiteral("May 4 at 4:00 PM"));
    EXPECT_EQ(items[4].text, QStringLiteral("Venue:\nRose Hall"));
    EXPECT_EQ(items[5].text, QStringLiteral("From:\nBen"));
    // The message starts 20 points further right but keeps the common width.
    EXPECT_NEAR(items[2].frame.right(), card - 30, 1e-4);
    EXPECT_NEAR(items[1].frame.right(), card - 50, 1e-4);
}

TEST(InvitationLayout, ATimeAloneStandsAtTheTop)
{
    InvitationDetails d;
    d.time = QStringLiteral("7:30 PM");
    d.venue = QStringLiteral("Hall");
    const QList<InvitationItem> items = InvitationLayout::Fill_Party_Invidation_Details(d, square);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].id, QStringLiteral("PARTY_TIME"));
    EXPECT_EQ(items[0].text, QStringLiteral("AT 7:30 PM"));
    EXPECT_EQ(items[0].frame.topLeft(), QPointF(30, 40));
    EXPECT_EQ(items[0].frame.height(), 20);
    EXPECT_NEAR(items[0].frame.width(), card - 80, 1e-4);
    EXPECT_EQ(items[1].frame.y(), 100);

    // Blanks are no value: nothing is made for them.
    InvitationDetails blank;
    blank.title = QStringLiteral("   ");
    blank.from = QStringLiteral("\t");
    EXPECT_TRUE(InvitationLayout::Fill_Party_Invidation_Details(blank, square).isEmpty());
}

TEST(InvitationLayout, ObjectsTakeTheirLookAndStandLastMadeFirst)
{
    const GraphicList objects = InvitationLayout::makeObjects(everything(), square);
    ASSERT_EQ(objects.size(), 6);
    EXPECT_EQ(objects.first()->control_ID, QStringLiteral("PARTY_FROM"));
    EXPECT_EQ(objects.last()->control_ID, QStringLiteral("PARTY_TITLE"));
    const SKTGraphic &title = *objects.last();
    EXPECT_EQ(title.text_alignmnet, InvitationLayout::AlignCentre);
    ASSERT_TRUE(title.text_ctrl_font.has_value());
    EXPECT_EQ(title.text_ctrl_font->postScriptName, QStringLiteral("TimesNewRomanPS-BoldItalicMT"));
    EXPECT_EQ(title.text_ctrl_font->size, 18.0);
    EXPECT_FALSE(title._isDrawingStroke || title._isDrawingFill);
    EXPECT_EQ(objects.first()->text_alignmnet, InvitationLayout::AlignRight);
    const SKTGraphic &to = *objects.at(4);
    EXPECT_EQ(to.control_ID, QStringLiteral("PARTY_TO"));
    EXPECT_EQ(to.text_alignmnet, 0);
    EXPECT_EQ(to.Text_Value, QStringLiteral("Dear Ann,"));
}

TEST(InvitationLayout, TheSalutationAndCommaAreWrittenOnce)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Sam", "Dear Sam,"},
        {"Dear Sam", "Dear Sam,"},
        {"dear Sam,", "dear Sam,"},
        {"Dearest Sam", "Dear Dearest Sam,"},
    };
    for (const auto &[typed, line] : cases)
        EXPECT_EQ(InvitationLayout::addresseeLine(QString::fromUtf8(typed)), QString::fromUtf8(line));
}

// The longest shipped greeting and 40-character names on the smallest built-in card: every frame
// stands on the card, and drawing each text in a frame without a bottom changes no pixel, so
// neither the card's edge nor a frame cuts a line.
TEST(InvitationLayout, EveryTextStaysWholeOnTheSmallestCard)
{
    QSizeF smallest(1e9, 1e9);
    for (const QString &category : {CardSizeTables::PvcCategory, QStringLiteral("Paper")}) {
        for (int row = 0; row < CardSizeTables::namesFor(category).size(); ++row) {
            const QSizeF mm = CardSizeTables::Get_My_card_Size(category, QStringLiteral("H"), row);
            if (mm.width() * mm.height() < smallest.width() * smallest.height())
                smallest = mm;
        }
    }
    const QSizeF size(CardSizeTables::MM_to_Points_Convert(float(smallest.width())),
                      CardSizeTables::MM_to_Points_Convert(float(smallest.height())));
    const auto longestLine = [](const char *file) {
        QFile f(QStringLiteral(TESSALY_TESTS_DIR "/../resources/shipped/") + QString::fromLatin1(file));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file;
        QString longest;
        for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
            longest = line.trimmed().size() > longest.size() ? line.trimmed() : longest;
        return longest;
    };
    InvitationDetails d = everything();
    d.title = longestLine("Title.txt");
    d.message = longestLine("Message.txt");
    d.to = QStringLiteral("Maximiliana Rosalind Featherstonehaugh-W");
    d.from = QStringLiteral("Bartholomew Quincy Worthington-Smythe Jr");
    ASSERT_EQ(d.to.size(), 40);
    ASSERT_EQ(d.from.size(), 40);
    const GraphicList objects = InvitationLayout::makeObjects(d, size);
    ASSERT_EQ(objects.size(), 6);
    const QRectF cardRect(QPointF(0, 0), size);
    constexpr double scale = 4;
    for (const GraphicPtr &object : objects) {
        SCOPED_TRACE(object->control_ID->toStdString());
        const QRectF frame = object->bounds();
        EXPECT_TRUE(cardRect.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height() << " on "
            << size.width() << "x" << size.height();
        const auto draw = [&](const QRectF &bounds) {
            QImage image((size * scale * 2).toSize(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            object->setBounds(bounds);
            QPainter painter(&image);
            painter.scale(scale, scale);
            object->drawContentsInView(painter, GraphicDrawContext{true, false, {}, scale}, false);
            return image;
        };
        const QImage inFrame = draw(frame);
        EXPECT_EQ(inFrame, draw(frame.adjusted(0, 0, 0, size.height())));
        QImage blank(inFrame.size(), inFrame.format());
        blank.fill(Qt::white);
        EXPECT_NE(inFrame, blank);
    }
}

TEST(InvitationLayout, BackgroundGoesToTheFrontPage)
{
    QTemporaryDir tmp;
    const QString picture = tmp.filePath(QStringLiteral("bg.png"));
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(picture));
    CardDesign design;
    design.setCardSize(QSizeF(card, card));
    design.front = {SKTGraphic::create(SKTGraphic::Kind::Line)};
    const GraphicList &list = design.front;
    const Card_Property &front = design.frontPage;
    InvitationDetails d;
    d.title = QStringLiteral("Hi");
    d.background = picture;
    InvitationLayout::apply(d, design);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.first()->control_ID, QStringLiteral("PARTY_TITLE"));
    EXPECT_TRUE(front.Card_fill_chk);
    EXPECT_EQ(front.Card_fill_style, QStringLiteral("I"));
    EXPECT_EQ(front.Card_BG_Image_Path, picture);
    EXPECT_TRUE(front.Card_BG_Image.has_value());
}

TEST(InvitationLayout, CardtoolWritesTheInvitation)
{
    QTemporaryDir tmp;
    const QString out = tmp.filePath(QStringLiteral("party.dcard"));
    auto r = testsupport::cardtool({"invitation", "--size", "340.16,340.16", "--title", "Party", "--to",
                                    "Ann", "--from", "Ben", "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    r = testsupport::cardtool({"design-dump", out});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    const QJsonObject front = QJsonDocument::fromJson(r.out).object().value("front").toObject();
    EXPECT_NEAR(front["page"].toObject()["Card_Size"].toArray().at(0).toDouble(), 340.16, 1e-3);
    const QJsonArray objects = front["objects"].toArray();
    ASSERT_EQ(objects.size(), 3);
    const QJsonObject title = objects.at(2).toObject();
    EXPECT_EQ(title["control_ID"].toString(), QStringLiteral("PARTY_TITLE"));
    const QJsonArray bounds = title["_bounds"].toArray();
    EXPECT_NEAR(bounds.at(0).toDouble(), 40, 1e-4);
    EXPECT_NEAR(bounds.at(1).toDouble(), 40, 1e-4);
    EXPECT_NEAR(bounds.at(2).toDouble(), 260.16, 1e-3);

    EXPECT_EQ(testsupport::cardtool({"invitation", "--size", "0,100", "--out", out}).exitCode, 1);
    EXPECT_EQ(testsupport::cardtool({"invitation", "--size", "300", "--out", out}).exitCode, 1);
    EXPECT_EQ(testsupport::cardtool({"invitation", "--size", "300,300"}).exitCode, 1);
    EXPECT_EQ(testsupport::cardtool(
                  {"invitation", "--size", "300,300", "--background", tmp.filePath("none.png"), "--out", out})
                  .exitCode,
              1);
}

TEST(InvitationLayout, CardtoolRefusesABackgroundItCannotUseWithoutWaiting)
{
    QTemporaryDir tmp;
    const QString out = tmp.filePath(QStringLiteral("party.dcard"));
    const auto invite = [&](const QString &background) {
        return testsupport::cardtool({"invitation", "--size", "300,300", "--title", "Party", "--background",
                                      background, "--out", out});
    };
    // A FIFO with no writer: opening it to read would wait for good.
    const QString fifo = tmp.filePath(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto r = invite(fifo);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.errText().contains(QStringLiteral("cannot use the picture %1: it is not a regular file").arg(fifo)))
        << r.errText().toStdString();

    // Beyond the picture file budget (a sparse file costs nothing to make).
    QFile big(tmp.filePath(QStringLiteral("big.jpg")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(300LL * 1024 * 1024));
    big.close();
    r = invite(big.fileName());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("the file is too large (300 MB; at most 256 MB)")))
        << r.errText().toStdString();
    EXPECT_FALSE(QFile::exists(out));

    // A phone-sized photo is taken, at its full size in points.
    QImage photo(7000, 5000, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    const QString photoPath = tmp.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(photo.save(photoPath, "JPEG"));
    r = invite(photoPath);
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(QFile::exists(out));
}
