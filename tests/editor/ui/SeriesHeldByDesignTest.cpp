// A series the open design reads is in use for every other instance of the program: the main
// window holds its lock file while an object reads it, and lets go once none does.
#include "data/SeriesEditing.h"
#include "editor/ui/MainWindowFixture.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "output/BatchDesignFixture.h"
#include "platform/UndoManager.h"
#include "support/TestSupport.h"

#include <QFile>

class SeriesHeldByDesign : public MainWindowFixture
{
protected:
    // Another instance trying to open the series for editing: cardtool takes its lock as the program
    // does, and lets go at once.
    static testsupport::ProcResult otherInstanceEdits()
    {
        return testsupport::cardtool({"series-edit", Data_Folder_Path, "Mixed"});
    }
};

TEST_F(SeriesHeldByDesign, AnotherInstanceFindsTheSeriesInUseWhileTheDesignReadsIt)
{
    batchtest::writeSeries(Data_Folder_Path, "Mixed", "a\nb\n");
    const QString lock = SeriesEditing::lockPath(Data_Folder_Path, "Mixed");
    EXPECT_EQ(otherInstanceEdits().exitCode, 0);

    window->document().insertGraphicsIntoSide(
        0, {batchtest::text(QRectF(10, 10, 200, 30), DataSourceCode::Series, "Mixed")}, {0});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(lock); }, 10000));
    const testsupport::ProcResult refused = otherInstanceEdits();
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errText().contains("held elsewhere")) << refused.errText().toStdString();

    window->document().undoManager().undo();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(lock); }, 10000));
    EXPECT_EQ(otherInstanceEdits().exitCode, 0);
}
