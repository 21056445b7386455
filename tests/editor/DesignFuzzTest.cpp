// Damaged design files, made by mutating a good one at the byte and at the item level: each one
// either loads or is refused as corrupt, and a refused one leaves the open design as it was.
#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "model/SKTLine.h"
#include "model/SKTText.h"
#include "platform/PropertyList.h"
#include "platform/UndoManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <random>

namespace
{

class DesignFuzzTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModelGlobals::instance().reset();
        EditorState::instance().reset();
        DesignSettings settings;
        settings.frontPage.resetForNewDesign(QColor(0, 0, 0), Card_Property::defaultContentFont());
        settings.backPage.resetForNewDesign(QColor(0, 0, 0), Card_Property::defaultContentFont());
        auto text = std::make_shared<SKTText>();
        text->Text_contents().text = QStringLiteral("Season's greetings");
        auto line = std::make_shared<SKTLine>();
        line->setEndPoint(QPointF(40, 30));
        doc.insertGraphics({text, line}, {0, 1});
        doc.insertGraphicsIntoSide(SKTDocument::Back, {SKTGraphic::create(SKTGraphic::Kind::Shape)}, {0});
        settings.binding.setColumnTitles({QStringLiteral("Name")});
        settings.binding.Create_List_By_Array({QStringLiteral("Ann")}, 1);
        doc.putSettingsUnrecorded(settings);
        CardDesign design = doc.design();
        items = DesignFileFormat::buildItems(design);
    }
    void TearDown() override
    {
        ModelGlobals::instance().reset();
        EditorState::instance().reset();
    }

    // A value of a random kind, to put where something else belongs.
    plist::Value randomValue()
    {
        switch (rng() % 9) {
        case 0:
            return plist::Value(qint64(rng()) - qint64(rng()));
        case 1:
            return plist::Value(double(rng()) / 7.0 - 1e6);
        case 2:
            return plist::Value(bool(rng() % 2));
        case 3:
            return plist::Value(QStringLiteral("{{1, 2}, {x"));
        case 4:
            return plist::Value(plist::Uid{quint64(rng() % 400)});
        case 5:
            return plist::Value(QByteArray(int(rng() % 20), char(rng())));
        case 6:
            return plist::Value(plist::Array{plist::Value(plist::Uid{quint64(rng() % 50)})});
        case 7:
            return plist::Value(plist::Dict());
        default:
            return plist::Value(QStringLiteral("SKTText"));
        }
    }

    // Damages one object archive inside its own property list.
    QByteArray damageArchive(const QByteArray &archive)
    {
        PropertyList::ReadResult r = PropertyList::read(archive);
        if (!r.ok)
            return archive;
        plist::Value *objects = r.value.dict().find(QStringLiteral("$objects"));
        if (!objects || objects->array().isEmpty())
            return archive;
        plist::Array &list = objects->array();
        plist::Value &target = list[qsizetype(rng() % list.size())];
        if (target.isDict() && !target.toDict().isEmpty()) {
            plist::Dict &d = target.dict();
            const QString key = d.keys().at(qsizetype(rng() % d.size()));
            if (rng() % 3 == 0)
                d.remove(key);
            else
                d.insert(key, randomValue());
        } else {
            target = randomValue();
        }
        if (rng() % 10 == 0)
            r.value.dict().insert(QStringLiteral("$top"), randomValue());
        return PropertyList::writeBinary(r.value);
    }

    plist::Array mutateItems()
    {
        plist::Array m = items;
        const int edits = 1 + int(rng() % 3);
        for (int e = 0; e < edits; ++e) {
            const qsizetype i = qsizetype(rng() % m.size());
            switch (rng() % 5) {
            case 0:
                m[i] = randomValue();
                break;
            case 1:
                m.resize(qsizetype(rng() % m.size()));
                break;
            case 2:
                if (m[i].isData())
                    m[i] = plist::Value(damageArchive(m[i].toData()));
                break;
            case 3:
                m[i] = plist::Value(QString::number(int(rng() % 10) - 2));
                break;
            default:
                m.remove(i);
                break;
            }
            if (m.isEmpty())
                break;
        }
        return m;
    }

    // Loads bytes through the editor's open command and checks the all-or-nothing rule.
    void tryOpen(const QByteArray &bytes)
    {
        const QString file = dir.filePath(QStringLiteral("fuzz.dcard"));
        ASSERT_TRUE(testsupport::writeFile(file, bytes));
        const qsizetype frontBefore = doc.graphics().size();
        const qsizetype backBefore = doc.graphics_back().size();
        const QString nameBefore = front.Card_Name;
        EditorState::instance().Project_File_Name = QStringLiteral("/kept.dcard");
        const DesignResult r = DesignFile(doc).Read_and_load_design_Log(file, QStringLiteral("L"));
        if (r.ok()) {
            ++loaded;
            EXPECT_EQ(EditorState::instance().Project_File_Name, file);
        } else {
            ++refused;
            EXPECT_EQ(r.message, DesignFile::CorruptMessage);
            EXPECT_EQ(doc.graphics().size(), frontBefore);
            EXPECT_EQ(doc.graphics_back().size(), backBefore);
            EXPECT_EQ(front.Card_Name, nameBefore);
            EXPECT_EQ(EditorState::instance().Project_File_Name, QStringLiteral("/kept.dcard"));
        }
        EXPECT_TRUE(doc.undoManager().isUndoRegistrationEnabled());
    }

    std::mt19937 rng{20240611};
    QTemporaryDir dir;
    SKTDocument doc;
    const Card_Property &front = doc.design().frontPage;
    plist::Array items;
    int loaded = 0;
    int refused = 0;
};

} // namespace

TEST_F(DesignFuzzTest, ItemLevelDamage)
{
    for (int n = 0; n < 1200; ++n) {
        const plist::Array m = mutateItems();
        if (n % 8 == 0) {
            tryOpen(PropertyList::writeXml(plist::Value(m)));
        } else {
            CardDesign c;
            DesignFileFormat::parseItems(m, &c, nullptr); // must not crash
        }
    }
    EXPECT_GT(refused, 0);
}

TEST_F(DesignFuzzTest, ByteLevelDamage)
{
    const QByteArray good = PropertyList::writeXml(plist::Value(items));
    for (int n = 0; n < 300; ++n) {
        QByteArray bytes = good;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const qsizetype at = qsizetype(rng() % bytes.size());
            if (rng() % 8 == 0)
                bytes.truncate(at);
            else
                bytes[at] = char(rng());
            if (bytes.isEmpty())
                break;
        }
        tryOpen(bytes);
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(loaded + refused, 300);
}

TEST_F(DesignFuzzTest, CardtoolRefusesDamagedFilesWithStatusOne)
{
    // Colour positions of both sides hold a string: no design can be made of that.
    const int colourItems[] = {2, 7, 8, 12 + 28};
    for (int n = 0; n < 4; ++n) {
        plist::Array m = items;
        m[colourItems[n]] = plist::Value(QStringLiteral("damaged"));
        const QString in = dir.filePath(QStringLiteral("bad%1.dcard").arg(n));
        ASSERT_TRUE(DesignFile::writeItems(in, m, nullptr));
        for (const QStringList &args :
             {QStringList{QStringLiteral("design-dump"), in},
              QStringList{QStringLiteral("design-resave"), in, in + QStringLiteral(".out")}}) {
            const testsupport::ProcResult r = testsupport::cardtool(args);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(r.err.contains("File is corrupt and cannot be opened."));
        }
        EXPECT_FALSE(QFile::exists(in + QStringLiteral(".out")));
    }
}
