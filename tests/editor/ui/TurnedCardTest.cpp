// The card turned from its back page: the front's objects the turn would leave off move only to
// places where they cover nothing, and the user is told what moved and what no longer fits.
#include "MainWindowFixture.h"

#include "editor/ui/MainMenus.h"
#include "model/GraphicWords.h"
#include "model/SKTBarcode.h"
#include "output/OwnBarcodePicture.h"
#include "platform/UndoManager.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

namespace
{

bool coverEachOther(const QRectF &a, const QRectF &b)
{
    const QRectF common = a.intersected(b);
    return common.width() > 0.5 && common.height() > 0.5;
}

} // namespace

using TurnedFromTheBack = MainWindowFixture;

TEST_F(TurnedFromTheBack, PutsNoObjectOnAnotherAndNamesWhatMoved)
{
    const QSizeF level = canvas(0)->bounds().size();
    const auto place = [this](SKTGraphic::Kind kind, const QRectF &frame) {
        const GraphicPtr g = SKTGraphic::create(kind);
        g->setBounds(frame);
        window->document().insertGraphicsIntoSide(SKTDocument::Front, {g}, {int(front().size())});
        return g;
    };
    const auto barcode = [&](const char *type, const char *value, const std::function<QPointF(QSizeF)> &at) {
        auto b = std::make_shared<SKTBarcode>();
        const bool twoD = BarcodeSettings::isTwoDTitle(QLatin1String(type));
        b->linear_or_2d = twoD ? 1 : 0;
        b->barcode_font_index = int((twoD ? BarcodeSettings::twoDTitles() : BarcodeSettings::linearTitles())
                                        .indexOf(QLatin1String(type)));
        (twoD ? b->two_d_font_val : b->linear_font_val) = QString::fromLatin1(value);
        b->Set_Barcode_image(OwnBarcodePicture::stored(*b));
        b->setBounds(QRectF(at(b->drawnBox().size()), QSizeF(1, 1)));
        window->document().insertGraphicsIntoSide(SKTDocument::Front, {b}, {int(front().size())});
        return b;
    };
    const GraphicPtr red = place(SKTGraphic::Kind::Shape, QRectF(5, 5, 100, 30));
    red->_fillColor = QColor(Qt::red);
    place(SKTGraphic::Kind::Image, QRectF(110, 5, 50, 30));
    place(SKTGraphic::Kind::Image, QRectF(165, 5, 50, 30));
    barcode("Code 128", "5901234", [](QSizeF) { return QPointF(5, 37); });
    barcode("Code 39", "ABC", [&](QSizeF s) { return QPointF(5, level.height() - s.height() - 1); });
    barcode("QR Code", "Hello QR", [&](QSizeF s) { return QPointF(level.width() - s.width() - 2, 37); });
    const QList<QRectF> before = [&] {
        QList<QRectF> frames;
        for (const GraphicPtr &g : front())
            frames << g->bounds();
        return frames;
    }();
    for (qsizetype i = 0; i < front().size(); ++i) {
        ASSERT_TRUE(QRectF(QPointF(0, 0), level).contains(before.at(i)))
            << i << " " << before.at(i).x() << "," << before.at(i).y() << " " << before.at(i).width() << "x"
            << before.at(i).height() << " card " << level.width() << "x" << level.height();
        for (qsizetype j = i + 1; j < front().size(); ++j)
            ASSERT_FALSE(coverEachOther(before.at(i), before.at(j))) << i << " " << j;
    }
    window->document().undoManager().removeAllActions();
    const QByteArray design = savedDesign();

    // Back, a click on the empty canvas, the card page's orientation Vertical.
    window->menus().action(QStringLiteral("View/Back Side"))->trigger();
    QCoreApplication::processEvents();
    QTest::mouseClick(canvas(1), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Card_Prop_Btn")), Qt::LeftButton);
    QComboBox *orientation = window->findChild<QComboBox *>(QStringLiteral("Preset_ComboBox"));
    orientation->setCurrentIndex(orientation->findText(QStringLiteral("Vertical")));
    emit orientation->activated(orientation->currentIndex());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !shown().isEmpty(); }));
    ASSERT_NEAR(canvas(0)->bounds().width(), level.height(), 0.01);
    window->menus().action(QStringLiteral("View/Front Side"))->trigger();
    QCoreApplication::processEvents();
    saveArtifact(window.get(), QStringLiteral("turned_from_the_back.png"));

    // Each object where it was, or named; none over another it did not lie over.
    const QString said = shown().constLast();
    for (qsizetype i = 0; i < front().size(); ++i) {
        const GraphicPtr &g = front().at(i);
        if (g->bounds() != before.at(i)) {
            EXPECT_TRUE(said.contains(GraphicWords::of(*g))) << said.toStdString();
        }
        for (qsizetype j = i + 1; j < front().size(); ++j)
            EXPECT_FALSE(coverEachOther(g->bounds(), front().at(j)->bounds()))
                << GraphicWords::of(*g).toStdString() << " over "
                << GraphicWords::of(*front().at(j)).toStdString();
    }
    EXPECT_TRUE(said.contains(QStringLiteral(" on the front were moved to free places on the card")))
        << said.toStdString();

    // One Ctrl+Z takes back the turn and the moves.
    EXPECT_EQ(window->document().undoManager().undoCount(), 1);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(savedDesign(), design);
}
