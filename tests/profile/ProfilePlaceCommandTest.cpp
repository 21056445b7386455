// cardtool profile-place from outside: a series-bound name and a column-bound e-mail placed on a
// design, read back by design-dump, exported one card per data row; bad input refused.
#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "editor/DesignFileFormat.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace testsupport;

namespace
{
class ProfilePlace : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        QDir().mkpath(dataDir());
        writeFile(QDir(dataDir()).filePath("aaa.txt"), "x\n");
        writeFile(QDir(dataDir()).filePath("names.txt"), "Guest 1\nGuest 2\nGuest 3\n");
        CardDesign d;
        d.resetPages();
        d.setCardSize(QSizeF(243, 154));
        ExcelBindingTable &binding = d.binding;
        binding.setColumnTitles({"Email"});
        QList<ExcelBindingTable::Row> rows;
        for (int i = 1; i <= 3; ++i)
            rows << ExcelBindingTable::Row{{"Extension", QString::number(i)},
                                           {"Column1", QStringLiteral("guest%1@example.com").arg(i)}};
        binding.setListData(rows);
        QString error;
        ASSERT_TRUE(DesignFile::writeItems(design(), DesignFileFormat::buildItems(d), &error))
            << error.toStdString();
    }
    QString dataDir() const { return tmp.filePath("DataSet"); }
    QString design() const { return tmp.filePath("in.dcard"); }
    QString out() const { return tmp.filePath("out.dcard"); }
    ProcResult place(const QByteArray &json, const QString &side = "F")
    {
        writeFile(tmp.filePath("details.json"), json);
        return cardtool({"profile-place", design(), "--details", tmp.filePath("details.json"), "--side", side,
                         "--out", out(), "--data", dataDir()});
    }
    QJsonObject objectById(const QJsonObject &dump, const QString &side, const QString &id)
    {
        for (const QJsonValue &v : dump.value(side).toObject().value("objects").toArray())
            if (v.toObject().value("control_ID").toString() == id)
                return v.toObject();
        return {};
    }
    QTemporaryDir tmp;
};
} // namespace

TEST_F(ProfilePlace, BoundDetailsAreStoredAndExportOneCardPerRow)
{
    const ProcResult placed = place(R"({"Fup_Name": {"series": "names"},
                                        "Fup_EmailID": {"column": 1},
                                        "Fup_Title": {"value": "Host"}})");
    ASSERT_EQ(placed.exitCode, 0) << placed.errText().toStdString();

    const ProcResult dumped = cardtool({"design-dump", out()});
    ASSERT_EQ(dumped.exitCode, 0);
    const QJsonObject dump = QJsonDocument::fromJson(dumped.out).object();
    const QJsonObject name = objectById(dump, "front", "Fup_Name");
    EXPECT_EQ(name.value("data_source_type").toInt(), 1);
    EXPECT_EQ(name.value("batch_list_name").toString(), QStringLiteral("names"));
    EXPECT_EQ(name.value("batch_list_index").toInt(), 1); // "aaa" comes first in the folder
    EXPECT_EQ(name.value("Text_Value").toString(), QStringLiteral("Guest 1"));
    const QJsonObject email = objectById(dump, "front", "Fup_EmailID");
    EXPECT_EQ(email.value("data_source_type").toInt(), 2);
    EXPECT_TRUE(email.value("excel_binding").toBool());
    EXPECT_EQ(email.value("excel_col_indx").toInt(), 1);
    EXPECT_EQ(email.value("Text_Value").toString(), QStringLiteral("guest1@example.com"));
    EXPECT_EQ(objectById(dump, "front", "Fup_Title").value("data_source_type").toInt(), 0);
    EXPECT_TRUE(dump.value("excel").toObject().value("use").toBool());
    EXPECT_TRUE(dump.value("back").toObject().value("objects").toArray().isEmpty());

    const ProcResult exported =
        cardtool({"export", out(), "--to", tmp.filePath("cards"), "--data", dataDir()});
    ASSERT_EQ(exported.exitCode, 0) << exported.errText().toStdString();
    EXPECT_EQ(exported.lastLine(), QStringLiteral("3 cards written, 0 failed"));
}

TEST_F(ProfilePlace, BadInputIsRefusedWithAMessageAndWritesNothing)
{
    const QList<QPair<QByteArray, QString>> cases = {
        {R"({"Fup_Nickname": {"value": "x"}})", "unknown detail \"Fup_Nickname\""},
        {R"({"Fup_Name": {"value": )", "is not a JSON object"},
        {R"(["Fup_Name"])", "is not a JSON object"},
        {R"({"Fup_Name": {"series": "nobody"}})", "there is no series \"nobody\""},
        {R"({"Fup_EmailID": {"column": 9}})", "column of Fup_EmailID must be a whole number"},
        {R"({"Fup_Name": {"value": "a", "series": "names"}})", "needs one of"},
        {R"({"Fup_Photo": {"value": "/no/such/photo.png"}})", "does not exist"},
    };
    for (const auto &[json, text] : cases) {
        const ProcResult r = place(json);
        EXPECT_EQ(r.exitCode, 1) << json.toStdString();
        EXPECT_TRUE(r.errText().contains(text)) << r.errText().toStdString();
        EXPECT_FALSE(QFile::exists(out())) << json.toStdString();
    }
    const ProcResult side = place(R"({})", "X");
    EXPECT_EQ(side.exitCode, 1);
    EXPECT_TRUE(side.errText().contains("--side must be F or B"));
}

TEST_F(ProfilePlace, AFifoOrAnOversizedFileIsRefusedWithoutWaiting)
{
    // No writer ever opens these FIFOs: a blocking read would hang here.
    const QString fifo = tmp.filePath("details-pipe.json");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ProcResult r = cardtool({"profile-place", design(), "--details", fifo, "--side", "F", "--out", out()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains("it is not a regular file")) << r.errText().toStdString();

    QFile big(tmp.filePath("big.json"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(20 * 1024 * 1024)); // sparse: costs nothing to make
    big.close();
    r = cardtool({"profile-place", design(), "--details", big.fileName(), "--side", "F", "--out", out()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains("the file is too large (20 MB; at most 1 MB)"))
        << r.errText().toStdString();

    const QString photoPipe = tmp.filePath("photo.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(photoPipe).constData(), 0600), 0);
    r = place(QStringLiteral(R"({"Fup_Photo": {"value": "%1"}})").arg(photoPipe).toUtf8());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains(
        QStringLiteral("cannot use the photo %1: it is not a regular file").arg(photoPipe)))
        << r.errText().toStdString();
    EXPECT_FALSE(QFile::exists(out()));
}
