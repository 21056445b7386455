// The program shell: the main window opens and the event loop quits with status 0; the real
// message boxes answer through their buttons; the two small views lay out and paint.
#include "foundation/MessageBoxes.h"
#include "foundation/ui/DesignerApplication.h"
#include "foundation/ui/MainWindowShell.h"
#include "foundation/ui/MessageBoxService.h"
#include "foundation/ui/Repeat_Image.h"
#include "foundation/ui/VerticallyCenteredTextFieldCell.h"
#include "foundation/ui/WindowLook.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

TEST(AppShell, MainWindowOpensAndQuitEndsWithZero)
{
    DesignerApplication::applyIdentity();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("tessaly-designer"));
    MainWindowShell window;
    window.show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tessaly Greeting Designer"));
    QTimer::singleShot(0, window.quitAction(), &QAction::trigger);
    QTimer watchdog; // a broken quit fails instead of hanging
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
}

namespace
{
// Boxes too narrow for their whole title, by title.
QStringList cutTitles;

// Presses the button with the given text on the message box that is showing.
void pressWhenShown(const QString &buttonText, QString *seenText, int tries = 200)
{
    QTimer::singleShot(10, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            if (tries > 0)
                pressWhenShown(buttonText, seenText, tries - 1);
            return;
        }
        *seenText = box->text();
        if (box->width() < WindowLook::titleBarWidth(box))
            cutTitles << box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            if (b->text() == buttonText)
                b->click();
    });
}
} // namespace

TEST(AppShell, MessageBoxServiceShowsRealBoxes)
{
    DesignerApplication::applyIdentity();
    MessageBoxService service;
    MessageService::install(&service);
    QString seen;
    pressWhenShown(QStringLiteral("&No"), &seen);
    EXPECT_FALSE(Show_YES_NO_MessageBox(QStringLiteral("Delete the series?")));
    EXPECT_EQ(seen, QStringLiteral("Delete the series?"));
    pressWhenShown(QStringLiteral("&Yes"), &seen);
    EXPECT_TRUE(Show_YES_NO_MessageBox(QStringLiteral("Again?")));
    pressWhenShown(QStringLiteral("&OK"), &seen);
    Show_MessageBox(QStringLiteral("Done."));
    EXPECT_EQ(seen, QStringLiteral("\nDone."));
    pressWhenShown(QStringLiteral("&OK"), &seen);
    Show_TitledMessageBox(QStringLiteral("Save"), QStringLiteral("No."));
    EXPECT_EQ(cutTitles, QStringList()); // short texts, yet the program's name whole in each title
    MessageService::uninstall(&service);
}

TEST(AppShell, VerticalCentringArithmetic)
{
    const QRectF bounds(10, 20, 100, 40);
    QRectF r = VerticallyCenteredTextFieldCell::titleRectForBounds(bounds, bounds, 10);
    EXPECT_DOUBLE_EQ(r.y(), 35); // 15 above, 15 below
    EXPECT_DOUBLE_EQ(r.height(), 25);
    EXPECT_DOUBLE_EQ(r.x(), 10);
    r = VerticallyCenteredTextFieldCell::titleRectForBounds(bounds, bounds, 60); // taller than the cell
    EXPECT_DOUBLE_EQ(r.y(), 10);
    EXPECT_DOUBLE_EQ(r.height(), 50);

    VerticallyCenteredTextFieldCell cell(QStringLiteral("Centred"));
    cell.resize(120, 60);
    const QImage shot = cell.grab().toImage();
    // Ink lies in the middle band only: the top and bottom quarters stay empty.
    auto rowHasInk = [&](int y) {
        for (int x = 0; x < shot.width(); ++x)
            if (qGray(shot.pixel(x, y)) < 128)
                return true;
        return false;
    };
    bool inkTop = false, inkMiddle = false;
    for (int y = 0; y < shot.height(); ++y) {
        const bool ink = rowHasInk(y);
        if (y < shot.height() / 4 || y > shot.height() * 3 / 4)
            inkTop = inkTop || ink;
        else
            inkMiddle = inkMiddle || ink;
    }
    EXPECT_TRUE(inkMiddle);
    EXPECT_FALSE(inkTop);
}

TEST(AppShell, RepeatImageTilesTheBannerFromItsCorner)
{
    QImage tile(4, 4, QImage::Format_ARGB32);
    tile.fill(Qt::white);
    tile.setPixelColor(0, 0, Qt::red);
    Repeat_Image::setBannerImage(tile);
    Repeat_Image view;
    view.resize(10, 10);
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(4, 8), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(1, 0), QColor(Qt::white));
    Repeat_Image::setBannerImage(QImage());
}
