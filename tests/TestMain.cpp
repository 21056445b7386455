// Shared test entry: a headless application object (fonts, images, event loop) around GoogleTest.
#include "support/HangWatch.h"

#include <gtest/gtest.h>

#ifdef TESSALY_TEST_UI
#include "foundation/ui/WindowLook.h"

#include <QApplication>
using TestApp = QApplication;
#else
#include <QGuiApplication>
using TestApp = QGuiApplication;
#endif

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TestApp app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new hangwatch::Listener);
#ifdef TESSALY_TEST_UI
    // Windows are placed as the program places them.
    WindowLook::KeptPlaces::installOn(app);
    new hangwatch::UnansweredBoxes(app);
#endif
    return RUN_ALL_TESTS();
}
