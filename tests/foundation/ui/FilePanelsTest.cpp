// The real file panels open beside the file they are given, else in the last folder used, else at
// home: never in the folder the program was started from.
#include "foundation/ui/FilePanels.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{
// Runs a panel, notes the folder it shows, and answers with `answer` (empty: Cancel).
QString folderShown(const std::function<void()> &panel, const QString &answer = QString())
{
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shown = dialog->directory().absolutePath();
        if (answer.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(answer);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    panel();
    return shown;
}
} // namespace

TEST(FilePanels, APanelOpensBesideTheDesignElseInTheLastFolderUsed)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir().mkpath(tmp.filePath("designs")) && QDir().mkpath(tmp.filePath("out")));
    const QString design = tmp.filePath("designs/party.dcard");
    QFile(design).open(QIODevice::WriteOnly);
    FilePanels &panels = FilePanels::instance();

    EXPECT_EQ(FilePanels::startFolder(), QDir::homePath());
    EXPECT_EQ(folderShown([&] {
                  panels.saveFile(nullptr, "Save", "pdf", "labels.pdf", FilePanels::startFolder(design));
              }),
              tmp.filePath("designs"));

    // A file chosen in another folder makes it the folder of the next panel without a design.
    const QString chosen = tmp.filePath("out/labels.pdf");
    folderShown([&] { panels.saveFile(nullptr, "Save", "pdf", "labels.pdf"); }, chosen);
    EXPECT_EQ(FilePanels::startFolder(), tmp.filePath("out"));
    EXPECT_EQ(folderShown([&] { panels.openFolder(nullptr, "Choose"); }), tmp.filePath("out"));
    // An unsaved design has no folder of its own.
    EXPECT_EQ(FilePanels::startFolder(QStringLiteral("card")), tmp.filePath("out"));
}

// A typed name keeps a suffix that is another name of the format asked for.
TEST(FilePanels, ASaveNameKeepsTheOtherNameOfItsFormat)
{
    QTemporaryDir tmp;
    const char *const cases[][3] = {
        {"pics150.tif", "tiff", "pics150.tif"},
        {"pics150.JPG", "jpeg", "pics150.JPG"},
        {"pics150", "tiff", "pics150.tiff"},
        {"pics150.png", "tiff", "pics150.png.tiff"},
    };
    for (const auto &[typed, suffix, saved] : cases) {
        std::optional<QString> path;
        folderShown([&] { path = FilePanels::instance().saveFile(nullptr, "Save", suffix); },
                    tmp.filePath(typed));
        ASSERT_TRUE(path);
        EXPECT_EQ(path->toStdString(), tmp.filePath(saved).toStdString());
    }
}
