// The file and font dialogs as the program shows them: every detail column of a file dialog as
// wide as what it shows, and no font effect offered that a card could not keep.
#include "foundation/ui/ChooserPanels.h"
#include "foundation/ui/FilePanels.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

TEST(FilePanels, TheDetailColumnsShowWhole)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QFile file(tmp.filePath(QStringLiteral("A birthday card for the whole family.png")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(68 * 1024, 'x'));
    file.close();

    QFileDialog dialog(nullptr, QStringLiteral("Open"), tmp.path());
    FilePanels::prepareDialog(dialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.show();
    auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return details->model()->rowCount(details->rootIndex()) == 1; }, 10000));
    QCoreApplication::processEvents();
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/file_dialog.png"));
    const QHeaderView *header = details->header();
    const QModelIndex row = details->model()->index(0, 0, details->rootIndex());
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const QString shown = row.siblingAtColumn(column).data().toString();
        const int icon = column == 0 ? details->iconSize().width() + 8 : 0;
        EXPECT_GE(header->sectionSize(column), details->fontMetrics().horizontalAdvance(shown) + icon)
            << shown.toStdString();
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << "column " << column;
    }
}

TEST(ChooserPanels, TheFontDialogOffersNoEffectsACardCannotKeep)
{
    QFontDialog dialog;
    ChooserPanels::prepareFontDialog(dialog);
    dialog.show();
    QStringList offered;
    for (const QCheckBox *box : dialog.findChildren<QCheckBox *>()) {
        if (box->isVisible())
            offered << box->text();
    }
    EXPECT_TRUE(offered.isEmpty()) << offered.join(QLatin1Char(' ')).toStdString();
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/font_dialog.png"));
}

TEST(ChooserPanels, TheFontDialogsSampleHasRoomForItsWords)
{
    QFontDialog dialog(QFont(QStringLiteral("Liberation Serif"), 14));
    ChooserPanels::prepareFontDialog(dialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QLineEdit *sample = nullptr;
    for (const QGroupBox *box : dialog.findChildren<QGroupBox *>())
        if (box->isVisible() && box->findChild<QLineEdit *>())
            sample = box->findChild<QLineEdit *>();
    ASSERT_NE(sample, nullptr);
    EXPECT_FALSE(sample->text().isEmpty());
    EXPECT_GE(sample->height(), sample->sizeHint().height());
    dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/font_dialog_sample.png"));
}
