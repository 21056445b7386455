// What every window test sets up: a private data root, an answering message service, file and
// chooser panels, printers and the exit seam that answer from scripts, and a fixed clock.
#pragma once

#include "foundation/DateFormats.h"
#include "foundation/DialogTiming.h"
#include "foundation/FileUtils.h"
#include "foundation/FoundationState.h"
#include "foundation/Preferences.h"
#include "foundation/ui/AppExit.h"
#include "foundation/ui/ChooserPanels.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/PrinterCatalog.h"
#include "platform/MessageAnswerer.h"
#include "platform/UrlOpener.h"

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QList>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <utility>

namespace testsupport
{

// Open and save panels answered in order; every request is recorded.
class FakeFilePanels : public FilePanels
{
public:
    struct Request {
        QString kind; // "open", "folder", "save"
        QString title;
        QStringList suffixes;
        QString folder; // where the panel opens ("": the last folder used)
    };
    std::deque<std::optional<QString>> answers; // nullopt answers "Cancel"
    QList<Request> requests;
    std::function<void()> whileOpen; // what happens while the next panel is open, once

    std::optional<QString> next()
    {
        if (whileOpen)
            std::exchange(whileOpen, {})();
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> openFile(QWidget *, const QString &title, const QStringList &suffixes,
                                    const QString &folder) override
    {
        requests.append({QStringLiteral("open"), title, suffixes, folder});
        return next();
    }
    std::optional<QString> openFolder(QWidget *, const QString &title, const QString &folder) override
    {
        requests.append({QStringLiteral("folder"), title, {}, folder});
        return next();
    }
    std::optional<QString> saveFile(QWidget *, const QString &title, const QString &suffix, const QString &,
                                    const QString &folder) override
    {
        requests.append({QStringLiteral("save"), title, {suffix}, folder});
        return next();
    }
};

// Colours and fonts answered from fixed values (nullopt: Cancel).
class FakeChooserPanels : public ChooserPanels
{
public:
    std::optional<QColor> nextColor;
    std::optional<QFont> nextFont;
    int colorRequests = 0;
    std::optional<QColor> color(QWidget *, const QColor &, bool) override
    {
        ++colorRequests;
        return nextColor;
    }
    std::optional<QFont> font(QWidget *, const QFont &) override { return nextFont; }
};

class WindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        FoundationState::instance().reset();
        const QString shipped = QStringLiteral(TESSALY_SOURCE_RESOURCES);
        ASSERT_TRUE(setUpDataRoot(m_tmp.filePath(QStringLiteral("data")), shipped).ok);
        Preferences::resetSharedInstance(m_tmp.filePath(QStringLiteral("config/prefs.plist")));
        FilePanels::install(&files);
        ChooserPanels::install(&choosers);
        PrinterCatalog::setFake(QStringList{QStringLiteral("Test Printer")});
        AppExit::setHandler([this](int status) { exitStatuses.append(status); });
        ModalRunner::setHandler([this](QDialog &dialog) { return runModal(dialog); });
        DialogTiming::setOpenWaitMs(0);
        UrlOpener::setHook([this](const QUrl &url) {
            openedUrls.append(url);
            return desktopOpens;
        });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        DateFormats::setClock([] { return QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9)); });
    }

    void TearDown() override
    {
        FilePanels::uninstall(&files);
        ChooserPanels::uninstall(&choosers);
        PrinterCatalog::setFake(std::nullopt);
        AppExit::setHandler({});
        ModalRunner::setHandler({});
        UrlOpener::setHook({});
        DateFormats::setClock({});
        DialogTiming::setOpenWaitMs(1000);
    }

    // Modal windows are answered by the scripts queued here, in order; with none queued a
    // window is cancelled (0). Every window run is recorded by its title.
    int runModal(QDialog &dialog)
    {
        modalTitles.append(dialog.windowTitle());
        if (modalScripts.empty())
            return 0;
        auto script = modalScripts.front();
        modalScripts.pop_front();
        return script(dialog);
    }

    QString dataRoot() const { return Resource_Path; }
    QString tempPath(const QString &name) const { return m_tmp.filePath(name); }

    // Saves a picture of a widget for reviewers under <build>/artifacts.
    static void saveArtifact(QWidget *widget, const QString &name)
    {
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        widget->grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + name);
    }

    QTemporaryDir m_tmp;
    MessageAnswerer messages;
    FakeFilePanels files;
    FakeChooserPanels choosers;
    QList<int> exitStatuses;
    QList<QUrl> openedUrls;
    bool desktopOpens = true; // false: the desktop has no program for what is opened
    QStringList modalTitles;
    std::deque<std::function<int(QDialog &)>> modalScripts;
};

} // namespace testsupport
