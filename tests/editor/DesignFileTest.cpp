// The design file: saving and opening through a fake editor, the corrupt-file rule that leaves the
// editor untouched, atomic saving, and plistlib's view of the files cardtool writes.
#include "editor/DesignFile.h"
#include "canvas/RenderSide.h"
#include "data/ExcelBindingTable.h"
#include "data/FreedMemory.h"
#include "editor/DesignEditor.h"
#include "editor/DesignFileFormat.h"
#include "editor/EditorState.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/FoundationState.h"
#include "model/EditStep.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTText.h"

#include "platform/GeometryText.h"
#include "platform/PropertyList.h"
#include "platform/UndoManager.h"
#include "support/DesignSetup.h"
#include "support/MeasuredMemory.h"
#include "support/PageFieldValues.h"
#include "support/ProcessMemory.h"
#include "support/TestSupport.h"
#include <tuple>

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <csignal>

#include <sys/resource.h>

using testsupport::readFile;

namespace
{

class FakeEditor : public DesignEditor
{
public:
    std::optional<QString> savePath;
    QStringList calls;

    std::optional<QString> chooseSavePath() override
    {
        calls << QStringLiteral("save panel");
        return savePath;
    }
    void Set_Log_Name_In_Title() override { calls << QStringLiteral("title"); }
    void New_Project_Setting_Reset() override { calls << QStringLiteral("reset"); }
    void set_Back_BG_Image(const QString &p) override { calls << QStringLiteral("back picture ") + p; }
    void selectArrowTool() override { calls << QStringLiteral("arrow"); }
    void showDesign() override { calls << QStringLiteral("show design"); }
};

// The design file over the document, whose settings the test writes as a draft: the draft is put
// into the document before the file is read or written, and taken back after.
class SyncedFile : public DesignFile
{
public:
    SyncedFile(SKTDocument &doc, DesignEditor *editor, DesignSettings &draft)
        : DesignFile(doc, editor), m_doc(doc), m_draft(draft)
    {
        m_doc.putSettingsUnrecorded(m_draft);
    }
    ~SyncedFile() { m_draft = m_doc.design().settings(); }
    SyncedFile(const SyncedFile &) = delete;
    SyncedFile &operator=(const SyncedFile &) = delete;

private:
    SKTDocument &m_doc;
    DesignSettings &m_draft;
};

class DesignFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModelGlobals::instance().reset();
        EditorState::instance().reset();
        FoundationState::instance().setResourcePath(dir.path());
        front.resetForNewDesign(QColor(0, 0, 0), Card_Property::defaultContentFont());
        back.resetForNewDesign(QColor(0, 0, 0), Card_Property::defaultContentFont());
    }
    void TearDown() override
    {
        ModelGlobals::instance().reset();
        EditorState::instance().reset();
        FoundationState::instance().reset();
    }
    SyncedFile file() { return SyncedFile(doc, &editor, draft); }
    QString path(const QString &name) const { return dir.filePath(name); }
    void fillDesign()
    {
        draft.setCardSize(QSizeF(243, 153));
        draft.setOutline(DesignSettings::RoundedRectangle);
        front.Card_alpha_Stepper = 0.5f;
        back.Card_Name = QStringLiteral("Back side");
        auto text = std::make_shared<SKTText>();
        text->Text_contents().text = QStringLiteral("Happy birthday");
        text->setBounds(QRectF(10, 10, 100, 20));
        auto line = std::make_shared<SKTLine>();
        line->setBeginPoint(QPointF(0, 50));
        line->setEndPoint(QPointF(60, 10));
        doc.insertGraphics({text, line}, {0, 1});
        doc.insertGraphicsIntoSide(SKTDocument::Back, {SKTGraphic::create(SKTGraphic::Kind::Barcode)}, {0});
        binding.Excel_Binding_Use = true;
        binding.Excel_Source_Path = QStringLiteral("/data/book.xlsx");
        binding.setColumnTitles({QStringLiteral("Name")});
        binding.Create_List_By_Array({QStringLiteral(" Ann ")}, 1);
    }

    QTemporaryDir dir;
    SKTDocument doc;
    DesignSettings draft;
    Card_Property &front = draft.frontPage;
    Card_Property &back = draft.backPage;
    ExcelBindingTable &binding = draft.binding;
    FakeEditor editor;
};

} // namespace

TEST_F(DesignFileTest, SavesAndOpensAWholeDesign)
{
    fillDesign();
    editor.savePath = path(QStringLiteral("card.dcard"));
    DesignResult saved = file().Save_project_file(false, true);
    ASSERT_TRUE(saved.ok()) << saved.reason.toStdString();
    EXPECT_EQ(saved.message,
              QStringLiteral("Greeting Card Design Log \"card.dcard\" has been saved successfully."));
    EXPECT_EQ(EditorState::instance().Project_File_Name, path(QStringLiteral("card.dcard")));

    SKTDocument doc2;
    const Card_Property &f2 = doc2.design().frontPage;
    const Card_Property &b2 = doc2.design().backPage;
    const ExcelBindingTable &t2 = doc2.design().binding;
    FakeEditor e2;
    DesignFile reader(doc2, &e2);
    EditorState::instance().Project_File_Name.clear();
    DesignResult read =
        reader.Read_and_load_design_Log(path(QStringLiteral("card.dcard")), QStringLiteral("L"));
    ASSERT_TRUE(read.ok()) << read.reason.toStdString();
    EXPECT_EQ(EditorState::instance().Project_File_Name, path(QStringLiteral("card.dcard")));
    ASSERT_EQ(doc2.graphics().size(), 2);
    EXPECT_EQ(doc2.graphics()[0]->_Text_contents->text, QStringLiteral("Happy birthday"));
    auto line = std::static_pointer_cast<SKTLine>(doc2.graphics()[1]);
    EXPECT_EQ(line->beginPoint(), QPointF(0, 50));
    EXPECT_EQ(doc2.graphics_back().size(), 1);
    EXPECT_FALSE(doc2.undoManager().canUndo()); // loading is not an undoable change
    EXPECT_TRUE(doc2.undoManager().isUndoRegistrationEnabled());
    EXPECT_EQ(f2.Card_alpha_Stepper, 0.5f);
    EXPECT_EQ(b2.Card_Name, QStringLiteral("Back side"));
    EXPECT_EQ(doc2.design().cardSize(), QSizeF(243, 153));
    // The rounded outline comes back as the design's outline.
    EXPECT_EQ(doc2.design().outline(), CardDesign::RoundedRectangle);
    EXPECT_TRUE(t2.Excel_Binding_Use);
    EXPECT_EQ(t2.columnTitles(), (QStringList{QStringLiteral("Row"), QStringLiteral("Name")}));
    EXPECT_EQ(t2.objectValue(1, 0), QStringLiteral("Ann"));
    // The editor is told once, when the design is whole.
    EXPECT_EQ(e2.calls, (QStringList{QStringLiteral("reset"), QStringLiteral("show design")}));
    EXPECT_FALSE(doc2.isBeingReplaced());
}

TEST_F(DesignFileTest, PageFieldsAreWrittenAsTheFileStoresThem)
{
    front.Card_Content_clr = QColor();          // holds no colour
    front.Card_Content_font = FontDescriptor(); // holds no font
    front.Card_Name = QString();                // holds no string
    back.Card_fill_style = QStringLiteral("S");
    back.Card_BG_Image_Path = QStringLiteral("/pictures/bg.png");
    EditorState::instance().Project_File_Name = path(QStringLiteral("p.dcard"));
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    const PropertyList::ReadResult r = PropertyList::readFile(path(QStringLiteral("p.dcard")));
    ASSERT_TRUE(r.ok);
    const plist::Array &items = r.value.toArray();
    ASSERT_EQ(items.size(), 63);
    EXPECT_EQ(items[13].toString(), QStringLiteral("100.00"));
    EXPECT_EQ(items[1].toString(), QStringLiteral("Y"));
    EXPECT_EQ(items[17].toString(), QString(""));
    EXPECT_EQ(items[28 + 25].toString(), QString(""));
    EXPECT_TRUE(back.Card_BG_Image_Path.isEmpty()); // the live settings lose the path too
    EXPECT_EQ(items[61].toString(), QStringLiteral("0"));
    EXPECT_EQ(items[62].toString(), QStringLiteral("0"));
    CardDesign c;
    QString reason;
    ASSERT_TRUE(DesignFileFormat::parseItems(items, &c, &reason)) << reason.toStdString();
    EXPECT_EQ(c.frontPage.Card_Content_clr, QColor(0, 0, 0));
    EXPECT_EQ(c.frontPage.Card_Content_font, Card_Property::defaultContentFont());
}

TEST_F(DesignFileTest, EveryStoredPageFieldReadsBackAsWritten)
{
    CardDesign written;
    Card_Property &front = written.frontPage, &back = written.backPage;
    front = testsupport::pageWithEveryFieldSet();
    front.Card_fill_style = FillCode::Picture; // keeps the picture path in the file
    back = testsupport::pageWithEveryFieldSet();
    back.Card_Location = QPointF(-3, 4);
    back.Card_fill_style = FillCode::Picture;
    // A code this program draws as a rectangle is kept as it was stored.
    written.setOutlineCode(QStringLiteral("X"));
    written.setCardSize(QSizeF(100.5, 50.25));
    const plist::Array items = DesignFileFormat::buildItems(written);
    ASSERT_EQ(items.size(), DesignFileFormat::FixedItemCount);
    CardDesign c;
    QString reason;
    ASSERT_TRUE(DesignFileFormat::parseItems(items, &c, &reason)) << reason.toStdString();
    EXPECT_EQ(testsupport::differingPageFields(front, c.frontPage), QStringList());
    EXPECT_EQ(testsupport::differingPageFields(back, c.backPage), QStringList());
    EXPECT_EQ(c.outlineCode(), QStringLiteral("X"));
    EXPECT_EQ(c.storedCardSize(), QSizeF(100.5, 50.25));
    EXPECT_TRUE(c.settings() == written.settings());
}

TEST_F(DesignFileTest, LenientFieldReadingAsBefore)
{
    EXPECT_EQ(DesignFileFormat::leadingInt(QStringLiteral("abc")), 0);
    EXPECT_EQ(DesignFileFormat::leadingInt(QStringLiteral("  -12px")), -12);
    EXPECT_EQ(DesignFileFormat::leadingInt(QStringLiteral("99999999999")), INT_MAX);
    EXPECT_EQ(DesignFileFormat::leadingFloat(QStringLiteral("100.00")), 100.0f);
    EXPECT_EQ(DesignFileFormat::leadingFloat(QStringLiteral(" .5x")), 0.5f);
    EXPECT_EQ(GeometryText::pointIn(QStringLiteral("{1.5, -2}")), QPointF(1.5, -2));
    EXPECT_EQ(GeometryText::sizeIn(QStringLiteral("junk")), QSizeF(0, 0));
    EXPECT_EQ(CardDesign::outlineOf(QStringLiteral("E")), CardDesign::Ellipse);
    EXPECT_EQ(CardDesign::outlineOf(QStringLiteral("X")), CardDesign::Rectangle);

    // Flags are on only for exactly "Y".
    EditorState::instance().Project_File_Name = path(QStringLiteral("f.dcard"));
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    PropertyList::ReadResult r = PropertyList::readFile(path(QStringLiteral("f.dcard")));
    plist::Array items = r.value.toArray();
    for (const char *flag : {"y", "Yes", ""}) {
        items[1] = plist::Value(QString::fromLatin1(flag));
        CardDesign c;
        ASSERT_TRUE(DesignFileFormat::parseItems(items, &c, nullptr));
        EXPECT_FALSE(c.frontPage.Card_border_chk) << flag;
    }
    // A title list of only the first column, or none, clears the columns read before.
    for (const plist::Array &titles : {plist::Array{plist::Value(QStringLiteral("Row"))}, plist::Array()}) {
        items[59] = plist::Value(titles);
        binding.setColumnTitles({QStringLiteral("Old")});
        ASSERT_EQ(binding.columnCount(), 2);
        ASSERT_TRUE(DesignFile::writeItems(path(QStringLiteral("f.dcard")), items, nullptr));
        ASSERT_TRUE(
            file().Read_and_load_design_Log(path(QStringLiteral("f.dcard")), QStringLiteral("T")).ok());
        EXPECT_EQ(binding.columnCount(), 1) << titles.size();
        EXPECT_EQ(binding.columnTitles().size(), 1) << titles.size();
        EXPECT_TRUE(EditorState::instance().Project_File_Name.isEmpty());
    }
}

TEST_F(DesignFileTest, ADamagedFileChangesNothing)
{
    fillDesign();
    EditorState::instance().Project_File_Name = path(QStringLiteral("good.dcard"));
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    const plist::Array good = PropertyList::readFile(path(QStringLiteral("good.dcard"))).value.toArray();

    QList<QPair<const char *, QByteArray>> cases;
    cases.append({"not a plist", QByteArray("hello")});
    cases.append({"dictionary root", PropertyList::writeXml(plist::Value(plist::Dict()))});
    cases.append({"empty array", PropertyList::writeXml(plist::Value(plist::Array()))});
    cases.append({"marker only", PropertyList::writeXml(
                                     plist::Value(plist::Array{plist::Value(DesignFileFormat::Marker)}))});
    auto variant = [&](const char *name, auto change) {
        plist::Array items = good;
        change(items);
        cases.append({name, PropertyList::writeXml(plist::Value(items))});
    };
    variant("wrong marker", [](plist::Array &i) { i[0] = plist::Value(QStringLiteral("ZOLV")); });
    variant("colour as string", [](plist::Array &i) { i[2] = plist::Value(QStringLiteral("black")); });
    variant("colour not an archive", [](plist::Array &i) { i[2] = plist::Value(QByteArray("xx")); });
    variant("font is a colour", [](plist::Array &i) { i[28] = i[2]; });
    variant("count too large", [](plist::Array &i) { i[61] = plist::Value(QStringLiteral("40")); });
    variant("negative count", [](plist::Array &i) { i[61] = plist::Value(QStringLiteral("-1")); });
    variant("bad object archive", [](plist::Array &i) { i[62] = plist::Value(QByteArray("bplist00junk")); });
    variant("foreign class", [](plist::Array &i) { i[62] = i[2]; });
    variant("back count missing", [](plist::Array &i) { i.resize(64); });
    variant("overflowing card size",
            [](plist::Array &i) { i[19] = plist::Value(QStringLiteral("{1e400, 5}")); });
    variant("negative back size",
            [](plist::Array &i) { i[47] = plist::Value(QStringLiteral("{-243, 153}")); });
    variant("overflowing position",
            [](plist::Array &i) { i[18] = plist::Value(QStringLiteral("{0, -1e999}")); });
    variant("rows not dictionaries",
            [](plist::Array &i) { i[60] = plist::Value(plist::Array{plist::Value(1)}); });

    for (const auto &[name, bytes] : cases) {
        ASSERT_TRUE(testsupport::writeFile(path(QStringLiteral("bad.dcard")), bytes));
        editor.calls.clear();
        const DesignResult r =
            file().Read_and_load_design_Log(path(QStringLiteral("bad.dcard")), QStringLiteral("L"));
        EXPECT_FALSE(r.ok()) << name;
        EXPECT_EQ(r.message, DesignFile::CorruptMessage) << name;
        EXPECT_TRUE(editor.calls.isEmpty()) << name;
        EXPECT_EQ(doc.graphics().size(), 2) << name;
        EXPECT_EQ(doc.graphics_back().size(), 1) << name;
        EXPECT_EQ(doc.design().cardSize(), QSizeF(243, 153)) << name;
        EXPECT_EQ(binding.rowCount(), 1) << name;
        EXPECT_EQ(EditorState::instance().Project_File_Name, path(QStringLiteral("good.dcard"))) << name;
    }
    // A missing file, a folder and an endless device are refused at once, never read.
    for (const QString &p :
         {path(QStringLiteral("missing.dcard")), dir.path(), QStringLiteral("/dev/zero")}) {
        const DesignResult r = file().Read_and_load_design_Log(p, QStringLiteral("L"));
        EXPECT_FALSE(r.ok()) << p.toStdString();
        EXPECT_EQ(r.message, DesignFile::CorruptMessage);
    }
    EXPECT_EQ(doc.graphics().size(), 2);
}

TEST_F(DesignFileTest, CancelInTheSavePanelKeepsThePath)
{
    const QString target = path(QStringLiteral("keep.dcard"));
    EditorState::instance().Project_File_Name = target;
    editor.savePath.reset();
    const DesignResult cancelled = file().Save_project_file(true, true);
    EXPECT_EQ(cancelled.status, DesignResult::Status::Cancelled);
    EXPECT_TRUE(cancelled.message.isEmpty());
    EXPECT_EQ(EditorState::instance().Project_File_Name, target);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(editor.calls, QStringList{QStringLiteral("save panel")});
}

TEST_F(DesignFileTest, AFailedSaveLeavesTheOldFile)
{
    const QString target = path(QStringLiteral("keep.dcard"));
    EditorState::instance().Project_File_Name = target;
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    const QByteArray before = readFile(target);

    // A file-size limit far below the design makes the write fail half-way, whatever the rights.
    fillDesign();
    struct rlimit old {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 2000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const DesignResult failed = file().Save_project_file(false, true);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(failed.ok());
    // The folder, then why: the user learns what stood in the way.
    EXPECT_EQ(failed.message, QStringLiteral("The design could not be saved in the folder \"%1\".\n\n"
                                             "Could not save \"keep.dcard\": File too large.")
                                  .arg(QFileInfo(target).absolutePath()));
    EXPECT_EQ(readFile(target), before);
    EXPECT_EQ(EditorState::instance().Project_File_Name, target);
}

// A save writes the rows from the table as it goes, in pieces: the bytes are those of the whole
// list written at once, plistlib reads the rows from them, and a save that fails half-way through
// the rows leaves the old file and says why.
TEST_F(DesignFileTest, SavedRowsAreTheBytesOfTheWholeListWrittenAtOnce)
{
    using Row = ExcelBindingTable::Row;
    fillDesign();
    const QString lone = QString(QChar(0xD800)) + QStringLiteral("x"); // no UTF-8 carries it
    QList<Row> rows = {
        {{"Extension", "1"}, {"Column1", "Ann & <Bob>"}, {"Column2", "one\r\ntwo"}},
        {{"Extension", "2"}, {"Column1", ""}}, // a cell missing
        {},                                    // a row holding nothing
        {{"Other", "kept"}, {"Column2", QStringLiteral("Zoë 😀")}},
        {{"Extension", "5"}, {"Column1", lone}},
    };
    for (int r = 6; r < 6000; ++r) // past the pieces the file is written in
        rows << Row{{"Extension", QString::number(r)},
                    {"Column1", QStringLiteral("Guest %1").arg(r)},
                    {"Column2", QString(40, QLatin1Char('x'))}};
    binding.setColumnTitles({QStringLiteral("Name"), QStringLiteral("Note")});
    binding.setListData(rows);
    const QString saved = path(QStringLiteral("rows.dcard"));
    EditorState::instance().Project_File_Name = saved;
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    const QByteArray written = readFile(saved);
    CardDesign design = doc.design();
    EXPECT_EQ(written, PropertyList::writeXml(plist::Value(DesignFileFormat::buildItems(design))));

    QJsonArray expected;
    for (const Row &row : rows) {
        QJsonObject cells;
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            cells.insert(it.key(), it.value() == lone ? QStringLiteral("\uFFFDx") : it.value());
        expected.append(cells);
    }
    const testsupport::ProcResult read =
        testsupport::python(QStringLiteral("import json, plistlib, sys\n"
                                           "items = plistlib.load(open(sys.argv[1], 'rb'))\n"
                                           "sys.stdout.write(json.dumps(items[int(sys.argv[2])]))\n"),
                            {saved, QString::number(DesignFileFormat::RowsItem)});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(read.out).array(), expected);

    // A file-size limit below the rows makes the write fail while they are written.
    struct rlimit old {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = written.size() / 3;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    binding.setListData(rows.mid(1));
    const DesignResult failed = file().Save_project_file(false, true);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.message.endsWith(QStringLiteral("Could not save \"rows.dcard\": File too large.")))
        << failed.message.toStdString();
    EXPECT_EQ(readFile(saved), written);
}

TEST_F(DesignFileTest, PictureObjectsReloadTheirPicture)
{
    const QString picture = path(QStringLiteral("photo.png"));
    QImage(30, 20, QImage::Format_RGB32).save(picture);
    doc.addInGraphics(SKTImage::initWithPath(QPointF(50, 50), picture));
    doc.addInGraphics(SKTImage::initWithPath(QPointF(50, 50), path(QStringLiteral("gone.png"))));
    EditorState::instance().Project_File_Name = path(QStringLiteral("pics.dcard"));
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    SKTDocument doc2;
    ASSERT_TRUE(DesignFile(doc2)
                    .Read_and_load_design_Log(path(QStringLiteral("pics.dcard")), QStringLiteral("L"))
                    .ok());
    auto loaded = std::static_pointer_cast<SKTImage>(doc2.graphics()[0]);
    ASSERT_TRUE(loaded->_contents);
    EXPECT_EQ(loaded->_contents->size(), QSizeF(30, 20));
    auto missing = std::static_pointer_cast<SKTImage>(doc2.graphics()[1]);
    EXPECT_FALSE(missing->_contents);
    EXPECT_EQ(missing->FilePath(), path(QStringLiteral("gone.png")));
}

// The card's outline and size are one for both sides: plistlib finds them on both pages of the
// file, and they come back on both sides after reopening, undo and redo.
TEST_F(DesignFileTest, OutlineAndSizeAreTheCardsOnBothPagesThroughSaveReopenUndoAndRedo)
{
    const struct {
        QSizeF size;
        CardDesign::Outline outline;
        const char *stored; // the outline code and size text on each page
    } cases[] = {
        {QSizeF(242.65, 153.35), CardDesign::RoundedRectangle, "RR {242.65, 153.35}"},
        {QSizeF(340.16, 340.16), CardDesign::Ellipse, "E {340.16, 340.16}"},
        {QSizeF(600, 400), CardDesign::Rectangle, "R {600, 400}"},
    };
    // Both pages' Card_Shape and Card_Size, read with plistlib.
    const auto pagesOf = [](const QString &file) {
        const int shape = 1 + CardPageFields::OutlinePlace, size = 1 + CardPageFields::SizePlace;
        const QString script = QStringLiteral("import plistlib, sys\n"
                                              "i = plistlib.load(open(sys.argv[1], 'rb'))\n"
                                              "print(i[%1], i[%2]); print(i[%3], i[%4])")
                                   .arg(shape)
                                   .arg(size)
                                   .arg(shape + DesignFileFormat::SideFieldCount)
                                   .arg(size + DesignFileFormat::SideFieldCount);
        return QString::fromUtf8(
                   testsupport::run(QStringLiteral("/usr/bin/python3"), {"-c", script, file}).out)
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    const auto sidesShow = [](const SKTDocument &d, QSizeF size, CardDesign::Outline outline) {
        for (int side : {0, 1}) {
            const RenderSide drawn = RenderSide::of(d.design(), side, d.design().objects(side), QString());
            if (drawn.cardSize() != size || drawn.outline() != outline)
                return false;
        }
        return true;
    };
    const QString file = path(QStringLiteral("card.dcard"));
    for (const auto &c : cases) {
        SKTDocument made;
        testsupport::setCardSize(made, c.size);
        testsupport::setOutline(made, c.outline);
        EditorState::instance().Project_File_Name = file;
        ASSERT_TRUE(DesignFile(made, &editor).Save_project_file(false, false).ok()) << c.stored;
        EXPECT_EQ(pagesOf(file), QStringList({c.stored, c.stored})) << c.stored;
        const QByteArray saved = readFile(file);

        SKTDocument opened;
        ASSERT_TRUE(DesignFile(opened, &editor).Read_and_load_design_Log(file, QStringLiteral("L")).ok());
        EXPECT_TRUE(opened.design().settings() == made.design().settings()) << c.stored;
        EXPECT_TRUE(sidesShow(opened, c.size, c.outline)) << c.stored;

        // Another outline and size, each taken back and made again as a whole.
        const DesignSettings asOpened = opened.design().settings();
        const auto other = c.outline == CardDesign::Ellipse ? CardDesign::Rectangle : CardDesign::Ellipse;
        testsupport::setOutline(opened, other);
        EXPECT_FALSE(opened.design().settings() == asOpened) << c.stored;
        testsupport::setCardSize(opened, QSizeF(100, 50));
        opened.undoManager().undo();
        opened.undoManager().undo();
        EXPECT_TRUE(opened.design().settings() == asOpened) << c.stored;
        EXPECT_TRUE(sidesShow(opened, c.size, c.outline)) << c.stored;
        EditorState::instance().Project_File_Name = file;
        ASSERT_TRUE(DesignFile(opened, &editor).Save_project_file(false, false).ok());
        EXPECT_EQ(readFile(file), saved) << c.stored;
        opened.undoManager().redo();
        opened.undoManager().redo();
        EXPECT_TRUE(sidesShow(opened, QSizeF(100, 50), other)) << c.stored;
    }

    // A file whose back page names another outline and size (an older one) is read as its front
    // says, and saved with the front's on both pages.
    PropertyList::ReadResult read = PropertyList::readFile(file);
    plist::Array items = read.value.toArray();
    const qsizetype back = 1 + DesignFileFormat::SideFieldCount;
    items[back + CardPageFields::OutlinePlace] = plist::Value(QStringLiteral("E"));
    items[back + CardPageFields::SizePlace] = plist::Value(QStringLiteral("{10, 20}"));
    ASSERT_TRUE(DesignFile::writeItems(file, items, nullptr));
    SKTDocument older;
    ASSERT_TRUE(DesignFile(older, &editor).Read_and_load_design_Log(file, QStringLiteral("L")).ok());
    EXPECT_TRUE(sidesShow(older, QSizeF(600, 400), CardDesign::Rectangle));
    EditorState::instance().Project_File_Name = file;
    ASSERT_TRUE(DesignFile(older, &editor).Save_project_file(false, false).ok());
    EXPECT_EQ(pagesOf(file), QStringList({"R {600, 400}", "R {600, 400}"}));
}

TEST_F(DesignFileTest, PlistlibReadsWhatCardtoolWrites)
{
    const testsupport::ProcResult r = testsupport::run(
        QStringLiteral("/usr/bin/python3"), {QStringLiteral(TESSALY_TESTS_DIR "/editor/design_roundtrip.py"),
                                             QStringLiteral(CARDTOOL_PATH), dir.path()});
    const QByteArray out = r.out + r.err;
    EXPECT_EQ(r.exitCode, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("ok")) << out.toStdString();
}

TEST_F(DesignFileTest, ADesignNamingOneArchiveThousandsOfTimesIsRefused)
{
    fillDesign();
    EditorState::instance().Project_File_Name = path(QStringLiteral("good.dcard"));
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    const plist::Array good = PropertyList::readFile(path(QStringLiteral("good.dcard"))).value.toArray();
    auto withFrontObjects = [&](int count, const QByteArray &archive) {
        plist::Array items = good.mid(0, 61);
        items.append(plist::Value(QString::number(count)));
        for (int i = 0; i < count; ++i)
            items.append(plist::Value(archive));
        items.append(plist::Value(QStringLiteral("0")));
        // The binary form stores the archive once and names it at every item.
        return PropertyList::writeBinary(plist::Value(items));
    };
    auto text = std::make_shared<SKTText>();
    text->Text_contents().text = QString(20000, QLatin1Char('w'));
    text->setBounds(QRectF(0, 0, 50, 20));
    const QByteArray archive = text->archivedData();
    ASSERT_GT(archive.size(), 20000);

    const QByteArray small = std::make_shared<SKTLine>()->archivedData();
    struct Case {
        int count;
        QByteArray archive;
        const char *why;
    };
    for (const Case &c : {Case{20000, small, "objects"}, Case{2000, archive, "MB"}}) {
        const QByteArray bytes = withFrontObjects(c.count, c.archive);
        ASSERT_LT(bytes.size(), 200000);
        ASSERT_TRUE(testsupport::writeFile(path(QStringLiteral("wide.dcard")), bytes));
        const DesignResult r =
            file().Read_and_load_design_Log(path(QStringLiteral("wide.dcard")), QStringLiteral("L"));
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.message, DesignFile::CorruptMessage);
        EXPECT_TRUE(r.reason.contains("too large")) << r.reason.toStdString();
        EXPECT_TRUE(r.reason.contains(c.why)) << r.reason.toStdString();
        EXPECT_EQ(doc.graphics().size(), 2);
        EXPECT_EQ(EditorState::instance().Project_File_Name, path(QStringLiteral("good.dcard")));
    }
    // A design of a few hundred such objects is still a design.
    ASSERT_TRUE(testsupport::writeFile(path(QStringLiteral("many.dcard")), withFrontObjects(300, archive)));
    const DesignResult r =
        file().Read_and_load_design_Log(path(QStringLiteral("many.dcard")), QStringLiteral("L"));
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_EQ(doc.graphics().size(), 300);
}

// The facts of the workbook the rows came from are saved after the objects, read back exactly,
// and plistlib sees them under their keys; a damaged entry reads as a design saved without them.
TEST_F(DesignFileTest, WorkbookFactsAreKeptAfterTheObjectsAndADamagedEntryIsIgnored)
{
    fillDesign();
    WorkbookFacts &facts = binding.sourceFacts;
    facts.size = 5120;
    facts.modifiedMs = 1796724843123;
    facts.sha256 = QByteArray(64, 'a');
    facts.loadedAt = QDateTime(QDate(2026, 12, 8), QTime(10, 14, 3, 250), Qt::UTC);
    facts.sheet = QStringLiteral("Guests");
    facts.firstRow = 0;
    facts.columns = {2, 0};
    const QString saved = path(QStringLiteral("facts.dcard"));
    EditorState::instance().Project_File_Name = saved;
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    const WorkbookFacts written = facts;
    binding.reset();
    ASSERT_TRUE(file().Read_and_load_design_Log(saved, QStringLiteral("L")).ok());
    const WorkbookFacts &read = binding.sourceFacts;
    EXPECT_EQ(std::tie(read.size, read.modifiedMs, read.sha256, read.loadedAt, read.sheet, read.firstRow),
              std::tie(written.size, written.modifiedMs, written.sha256, written.loadedAt, written.sheet,
                       written.firstRow));
    EXPECT_EQ(read.columns, written.columns);
    EXPECT_EQ(doc.graphics_back().size(), 1); // the objects before them are all there

    const testsupport::ProcResult keys = testsupport::python(
        QStringLiteral(
            "import sys, plistlib\n"
            "items = plistlib.load(open(sys.argv[1], 'rb'))\n"
            "print(sorted(items[-1].keys()), items[-1]['ExcelRowsLoaded'], items[-1]['ExcelColumns'])\n"),
        {saved});
    EXPECT_EQ(keys.out.trimmed(),
              QByteArray("['ExcelColumns', 'ExcelFirstRow', 'ExcelRowsLoaded', 'ExcelSheet', "
                         "'ExcelSourceModified', 'ExcelSourceSHA256', 'ExcelSourceSize'] "
                         "2026-12-08T10:14:03.250Z ['2', '0']"))
        << keys.errText().toStdString();

    const plist::Array items = PropertyList::readFile(saved).value.toArray();
    const QList<QPair<const char *, plist::Value>> damaged = {
        {"a short hash", plist::Value(QStringLiteral("abc"))},
        {"a negative size", plist::Value(QStringLiteral("-1"))},
        {"a column that is no number", plist::Value(plist::Array{plist::Value(QStringLiteral("x"))})},
    };
    const QStringList keysOf = {QStringLiteral("ExcelSourceSHA256"), QStringLiteral("ExcelSourceSize"),
                                QStringLiteral("ExcelColumns")};
    for (int i = 0; i < damaged.size(); ++i) {
        plist::Array changed = items;
        changed.last().dict().insert(keysOf.at(i), damaged.at(i).second);
        CardDesign c;
        ASSERT_TRUE(DesignFileFormat::parseItems(changed, &c, nullptr)) << damaged.at(i).first;
        EXPECT_FALSE(c.binding.sourceFacts.isKnown()) << damaged.at(i).first;
        EXPECT_EQ(c.binding.ListData().size(), 1) << damaged.at(i).first;
    }
}

// The binding table's formula cells never computed are kept with its rows, in the dictionary after
// the objects, which is written only when there is something to keep; a damaged list is ignored.
TEST_F(DesignFileTest, FormulaCellsNeverComputedAreKeptWithTheRows)
{
    fillDesign();
    const QString plain = path(QStringLiteral("plain.dcard"));
    EditorState::instance().Project_File_Name = plain;
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    EXPECT_FALSE(PropertyList::readFile(plain).value.toArray().last().isDict());

    binding.Create_List_By_Array({QStringLiteral("Bo")}, 1);
    binding.Create_List_By_Array({QStringLiteral("Cy")}, 1);
    UncomputedFormulas cells;
    cells.add(1, 1);
    cells.add(2, 1);
    binding.setWorkbookOrigin({2, 3, 4}, cells);
    const QString saved = path(QStringLiteral("formulas.dcard"));
    EditorState::instance().Project_File_Name = saved;
    ASSERT_TRUE(file().Save_project_file(false, false).ok());
    binding.reset();
    ASSERT_TRUE(file().Read_and_load_design_Log(saved, QStringLiteral("L")).ok());
    EXPECT_EQ(binding.uncomputedFormulas().cellCount(), 2);
    EXPECT_TRUE(binding.uncomputedFormulas().contains(2, 1));
    EXPECT_FALSE(binding.sourceFacts.isKnown());
    const testsupport::ProcResult keys =
        testsupport::python(QStringLiteral("import sys, plistlib\n"
                                           "print(plistlib.load(open(sys.argv[1], 'rb'))[-1])\n"),
                            {saved});
    EXPECT_EQ(keys.out.trimmed(), QByteArray("{'ExcelUncomputedFormulas': [['1', '1', '2']]}"))
        << keys.errText().toStdString();

    const plist::Array items = PropertyList::readFile(saved).value.toArray();
    const auto run = [](const char *column, const char *first, const char *last) {
        return plist::Value(plist::Array{plist::Value(QString::fromLatin1(column)),
                                         plist::Value(QString::fromLatin1(first)),
                                         plist::Value(QString::fromLatin1(last))});
    };
    const QList<QPair<const char *, plist::Value>> damaged = {
        {"a row past the rows", plist::Value(plist::Array{run("1", "1", "3")})},
        {"a column past the titles", plist::Value(plist::Array{run("2", "0", "0")})},
        {"runs of a column out of order", plist::Value(plist::Array{run("1", "2", "2"), run("1", "0", "1")})},
        {"a run that is no list of numbers",
         plist::Value(plist::Array{plist::Value(QStringLiteral("1 1 2"))})},
    };
    for (const auto &[what, value] : damaged) {
        plist::Array changed = items;
        changed.last().dict().insert(QStringLiteral("ExcelUncomputedFormulas"), value);
        CardDesign c;
        ASSERT_TRUE(DesignFileFormat::parseItems(changed, &c, nullptr)) << what;
        EXPECT_TRUE(c.binding.uncomputedFormulas().isEmpty()) << what;
        EXPECT_EQ(c.binding.ListData().size(), 3) << what;
    }
}

// Every design of the corpus (the shipped templates) opens and saves as it always has: the bytes
// written are the ones the program wrote before the design was one value (their SHA-256 below),
// and a design saved and opened again saves the same bytes and holds the same design.
TEST_F(DesignFileTest, CorpusDesignsSaveTheBytesTheyAlwaysHaveAndRoundTrip)
{
    const std::pair<const char *, const char *> corpus[] = {
        {"Baby Shower", "3f2935aac85086ed1fe4534510c557b50a17721db7279790f7857be25463778b"},
        {"Birthday Party", "17dc4ebc9fc04fce1df1797a55b266ac24794d370f0eeebaac3033ca779f3ba5"},
        {"Graduation", "78df3a738b49bbf59c798921ab5b7871f84388c89c635f8bb75a07c469296a53"},
        {"Holiday Greetings", "6bcc8a0ea33c9f34abd2e90d2c3c68f22042ee2fb2d71edbc461806a8ff1f173"},
        {"Wedding", "69b11fbe2cea06cb45bae3e85f1dfe0712c3efe738abfca96cdcbef7e2bfd63e"},
    };
    for (const auto &[name, sha256] : corpus) {
        const QString shipped =
            QStringLiteral(TESSALY_SOURCE_RESOURCES "/Templates/%1.dcard").arg(QString::fromLatin1(name));
        SKTDocument opened;
        ASSERT_TRUE(DesignFile(opened).Read_and_load_design_Log(shipped, QStringLiteral("L")).ok()) << name;
        const QString once = path(QStringLiteral("once.dcard"));
        EditorState::instance().Project_File_Name = once;
        ASSERT_TRUE(DesignFile(opened).Save_project_file(false, false).ok()) << name;
        const QByteArray written = readFile(once);
        EXPECT_EQ(QCryptographicHash::hash(written, QCryptographicHash::Sha256).toHex(), QByteArray(sha256))
            << name;

        SKTDocument again;
        ASSERT_TRUE(DesignFile(again).Read_and_load_design_Log(once, QStringLiteral("L")).ok()) << name;
        const QString twice = path(QStringLiteral("twice.dcard"));
        EditorState::instance().Project_File_Name = twice;
        ASSERT_TRUE(DesignFile(again).Save_project_file(false, false).ok()) << name;
        EXPECT_EQ(readFile(twice), written) << name;
        EXPECT_TRUE(again.design().settings() == opened.design().settings()) << name;
        EXPECT_EQ(again.design().cardSize(), opened.design().cardSize()) << name;
        EXPECT_EQ(again.design().outline(), opened.design().outline()) << name;
        ASSERT_EQ(again.graphics().size(), opened.graphics().size()) << name;
        for (qsizetype i = 0; i < opened.graphics().size(); ++i)
            EXPECT_TRUE(GraphicStates::sameState(*again.graphics()[i], *opened.graphics()[i]))
                << name << " " << i;
    }
}

// The unsaved-changes marker follows every change to the rows, however the table is reached, and
// a save or an open reads and writes through the editor's long-work runner.
TEST_F(DesignFileTest, RowEditsCountAsUnsavedChangesAndFilesGoThroughTheLongWorkRunner)
{
    struct RunnerEditor : FakeEditor {
        int longWork = 0;
        void runLongWork(const std::function<void()> &work) override
        {
            ++longWork;
            work();
        }
    } runner;
    fillDesign();
    binding.Create_List_By_Array({QStringLiteral("Bo")}, 1);
    doc.putSettingsUnrecorded(draft);
    // The rows are edited as the windows edit them: a copy of the settings put back whole.
    const auto editRows = [this](const std::function<void(ExcelBindingTable &)> &edit) {
        DesignSettings settings = doc.design().settings();
        edit(settings.binding);
        doc.putSettingsUnrecorded(settings);
    };
    DesignFile kept(doc, &runner);
    const QString saved = path(QStringLiteral("rows.dcard"));
    EditorState::instance().Project_File_Name = saved;
    ASSERT_TRUE(kept.Save_project_file(false, false).ok());
    EXPECT_EQ(runner.longWork, 1);
    EXPECT_FALSE(kept.isModified());

    const QList<ExcelBindingTable::Row> asSaved = doc.design().binding.ListData();
    using Edit = std::function<void(ExcelBindingTable &)>;
    const QList<std::pair<const char *, Edit>> edits = {
        {"a cell edited", [](ExcelBindingTable &b) { b.setObjectValue(QStringLiteral("Cy"), 1, 1); }},
        {"a row added", [](ExcelBindingTable &b) { b.Create_List_By_Array({QStringLiteral("Di")}, 1); }},
        {"a row number edited", [](ExcelBindingTable &b) { b.setObjectValue(QStringLiteral("9"), 0, 0); }},
        {"the same texts as a new list, but one",
         [&asSaved](ExcelBindingTable &b) {
             QList<ExcelBindingTable::Row> copy;
             for (const ExcelBindingTable::Row &row : asSaved)
                 copy.append(row);
             copy.last().insert(ExcelBindingTable::columnIdentifier(1), QStringLiteral("Bob"));
             b.setListData(copy);
         }},
    };
    for (const auto &[what, edit] : edits) {
        editRows([&asSaved](ExcelBindingTable &b) { b.setListData(asSaved); });
        ASSERT_FALSE(kept.isModified()) << what;
        editRows(edit);
        EXPECT_TRUE(kept.isModified()) << what;
        // Put back as equal texts in lists of their own: nothing is left unsaved.
        QList<ExcelBindingTable::Row> equal;
        for (const ExcelBindingTable::Row &row : asSaved)
            equal.append(ExcelBindingTable::Row(row.toStdMap()));
        editRows([&equal](ExcelBindingTable &b) { b.setListData(equal); });
        EXPECT_FALSE(kept.isModified()) << what;
    }

    editRows([](ExcelBindingTable &b) { b.reset(); });
    ASSERT_TRUE(kept.Read_and_load_design_Log(saved, QStringLiteral("L")).ok());
    EXPECT_EQ(runner.longWork, 2);
    EXPECT_EQ(doc.design().binding.rowCount(), 2);
    EXPECT_FALSE(kept.isModified());
}

// A design whose series files are gone opens, naming each gone one (a series on the back of a
// single-sided card is read by nothing and not named), as the pictures whose files are gone are.
TEST_F(DesignFileTest, SeriesWhoseFilesAreGoneAreNamedAtOpen)
{
    const auto boundText = [](const QString &series) {
        GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Text);
        g->data_source_type = DataSourceCode::Series;
        g->batch_list_name = series;
        return g;
    };
    QDir().mkpath(Data_Folder_Path);
    testsupport::writeFile(QDir(Data_Folder_Path).filePath("Here.txt"), "a\n");
    const QString gone = QDir(Data_Folder_Path).filePath("Gone.txt");
    const QString goneLine =
        QStringLiteral("The series \"Gone\" was not found: its file %1 is gone.").arg(gone);
    const QString tail =
        QStringLiteral("\n\nNo card is made while a series it reads is gone: put the file back, or "
                       "bind the objects to another series.");
    struct Case {
        const char *what;
        QString cardSide;
        QStringList frontSeries, backSeries;
        QString message;
    };
    const Case cases[] = {
        {"all there", "1", {"Here"}, {}, ""},
        {"one gone, twice", "1", {"Gone", "Here", "Gone"}, {}, goneLine + tail},
        {"gone on a back not printed", "1", {"Here"}, {"Gone"}, ""},
        {"gone on the back of two sides",
         "2",
         {"Here"},
         {"Gone", "Away"},
         goneLine + "\n" +
             QStringLiteral("The series \"Away\" was not found: its file %1 is gone.")
                 .arg(QDir(Data_Folder_Path).filePath("Away.txt")) +
             tail},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CardDesign design;
        design.frontPage.Card_Side = c.cardSide;
        for (const QString &name : c.frontSeries)
            design.front.append(boundText(name));
        for (const QString &name : c.backSeries)
            design.back.append(boundText(name));
        const QString saved = path(QStringLiteral("series.dcard"));
        QString error;
        ASSERT_TRUE(DesignFile::writeItems(saved, DesignFileFormat::buildItems(design), &error));
        SKTDocument opened;
        const DesignResult result = DesignFile(opened).Read_and_load_design_Log(saved, QStringLiteral("L"));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.message.toStdString(), c.message.toStdString());
    }
}

// An XML file's rows go into the table as they are read, never into the file's tree; a binary
// file's come from its tree. Both read alike, and refuse a damaged row in the same words.
TEST(DesignFileRows, RowsReadAlikeFromEitherFormatAndDamagedOnesAreRefusedAlike)
{
    CardDesign design;
    design.binding.setColumnTitles({QStringLiteral("Name")});
    const plist::Array items = DesignFileFormat::buildItems(design);
    const qsizetype rowsItem = 1 + 2 * DesignFileFormat::SideFieldCount + 3;
    const auto dict = [](const QList<QPair<QString, plist::Value>> &cells) {
        plist::Dict d;
        for (const auto &[key, value] : cells)
            d.insert(key, value);
        return plist::Value(d);
    };
    const plist::Value ann = dict({{"Extension", "1"}, {"Column1", "Ann"}});
    const struct {
        const char *what;
        plist::Array rows;
        QString refused; // "" when the rows read
    } cases[] = {
        {"rows of texts", {ann, dict({{"Other", "kept"}, {"Column1", ""}}), dict({})}, ""},
        {"no rows", {}, ""},
        {"a cell that is a number",
         {ann, dict({{"Extension", "2"}, {"Column1", 7}})},
         "a binding cell is not a string"},
        {"a row that is a text", {ann, plist::Value("row")}, "a binding row is not a dictionary"},
    };
    for (const auto &c : cases) {
        plist::Array changed = items;
        changed[rowsItem] = plist::Value(c.rows);
        QList<ExcelBindingTable::Row> want;
        for (const plist::Value &row : c.rows) {
            ExcelBindingTable::Row r;
            for (const auto &[key, value] : row.toDict().items())
                r.insert(key, value.toString());
            want << r;
        }
        for (const bool xml : {true, false}) {
            const QByteArray bytes = xml ? PropertyList::writeXml(plist::Value(changed))
                                         : PropertyList::writeBinary(plist::Value(changed));
            CardDesign read;
            QString reason;
            const bool ok = DesignFileFormat::parse(bytes, &read, &reason);
            const std::string label = std::string(c.what) + (xml ? " (XML)" : " (binary)");
            ASSERT_EQ(ok, c.refused.isEmpty()) << label << ": " << reason.toStdString();
            if (ok)
                EXPECT_EQ(read.binding.ListData(), want) << label;
            else
                EXPECT_TRUE(reason.contains(c.refused)) << label << ": " << reason.toStdString();
        }
    }
}

namespace
{
// Gives freed memory back and starts VmHWM again from the resident size now; false when the
// kernel takes no reset.
bool startPeak()
{
    FreedMemory::release();
    return ProcessMemory::resetPeak();
}
} // namespace

// A design bound to many rows is parsed as it is read: at its peak the opening holds little more
// than the rows it keeps, never the file's bytes beside them (the file is larger than the rows),
// nor a second copy of the rows. Saved again, the rows go from the table to the file one by one:
// the save adds little, neither the rows as values nor the file's bytes.
TEST_F(DesignFileTest, OpeningAndSavingManyRowsHoldLittleMoreThanTheRows)
{
    constexpr int Rows = 40000;
    constexpr int Columns = 10;
    const auto cell = [](int row, int column) { return QStringLiteral("Guest %1-%2").arg(row).arg(column); };
    const QString design = path(QStringLiteral("rows.dcard"));
    {
        CardDesign written;
        QStringList titles;
        for (int c = 1; c <= Columns; ++c)
            titles << QStringLiteral("Heading %1").arg(c);
        written.binding.Excel_Binding_Use = true;
        written.binding.setColumnTitles(titles);
        for (int r = 0; r < Rows; ++r) {
            QStringList cells;
            for (int c = 0; c < Columns; ++c)
                cells << cell(r, c);
            written.binding.Create_List_By_Array(cells, Columns);
        }
        QString error;
        ASSERT_TRUE(DesignFile::writeItems(design, DesignFileFormat::buildItems(written), &error))
            << error.toStdString();
    }
    const double fileMiB = double(QFileInfo(design).size()) / (1 << 20);
    const bool measured = testsupport::MemoryIsMeasured && startPeak();
    const double before = ProcessMemory::statusMiB("VmRSS");
    DesignFile opened(doc);
    ASSERT_TRUE(opened.Read_and_load_design_Log(design, QStringLiteral("L")).ok());
    const double held = ProcessMemory::statusMiB("VmRSS") - before;
    const double peak = ProcessMemory::statusMiB("VmHWM") - before;
    ASSERT_EQ(doc.design().binding.rowCount(), Rows);
    EXPECT_EQ(doc.design().binding.objectValue(Columns, Rows - 1), cell(Rows - 1, Columns - 1));
    // The rows' spare room while they grow, the parser's buffers, the allocator's rounding.
    const double margin = held / 2 + 4;
    if (measured) {
        ASSERT_GT(fileMiB, margin); // holding the file's bytes beside the rows could not pass
        EXPECT_LT(peak, held + margin) << "held " << held << " MiB, file " << fileMiB << " MiB";
    }

    const bool measuredAgain = measured && startPeak();
    const double beforeSave = ProcessMemory::statusMiB("VmRSS");
    const QString saved = path(QStringLiteral("saved.dcard"));
    EditorState::instance().Project_File_Name = saved;
    ASSERT_TRUE(opened.Save_project_file(false, false).ok());
    if (measuredAgain) {
        EXPECT_LT(ProcessMemory::statusMiB("VmHWM") - beforeSave, margin)
            << "held " << held << " MiB, file " << fileMiB << " MiB";
    }
    EXPECT_EQ(readFile(saved), readFile(design));
}
