// User templates: the name rules, replacing only after the new pair is whole, copy names, renaming
// without losing a file, deleting, greeting texts, and cardtool's template export read by plistlib.
#include "editor/TemplateStore.h"
#include "editor/GreetingTexts.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::readFile;
using testsupport::writeFile;

namespace
{
struct Store {
    QTemporaryDir tmp;
    QString folder = TemplateStore::userFolderOf(tmp.path());
    TemplateStore store{folder};
    Store() { QDir().mkpath(folder); }
    QString file(const QString &name) const { return QDir(folder).filePath(name); }
    void pair(const QString &name, const QByteArray &tag) const
    {
        writeFile(file(name + ".dcard"), "design " + tag);
        writeFile(file(name + ".png"), "picture " + tag);
    }
    QStringList files() const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

const TemplateStore::PreviewWriter goodPreview = [](const QString &path, QString *) {
    return writeFile(path, "new picture");
};
} // namespace

TEST(TemplateStore, NamesAreCheckedAsSeriesNamesAreAndNeverCutShort)
{
    const QString slash = QStringLiteral("The name of a template must not contain \"/\" or \"\\\".");
    const QString dot = QStringLiteral("The name of a template must not start with \".\".");
    const auto ends = [](const char *c) {
        return QStringLiteral("The name of a template must not begin or end with \"%1\".")
            .arg(QLatin1String(c));
    };
    const struct {
        const char *typed;
        QString message; // "" when taken
    } cases[] = {
        {"", TemplateStore::MsgEnterName},
        {"   ", TemplateStore::MsgEnterName},
        {"/", ends("/")},
        {"../x", slash},
        {"a/b", slash},
        {"a\\b", slash},
        {".", dot},
        {"..", dot},
        {".hidden", dot},
        {"Gamma?>", ends(">")},
        {"  *Party?  ", ends("*")},
        {"Party 2.0", QString()},
        {"  50% off  ", QString()},
    };
    Store s;
    for (const auto &c : cases) {
        QString name;
        const TemplateResult r = s.store.OKPressed(QString::fromLatin1(c.typed), QString(), nullptr, &name);
        EXPECT_EQ(r.message.toStdString(), c.message.toStdString()) << c.typed;
        EXPECT_EQ(name, c.message.isEmpty() ? QString::fromLatin1(c.typed).trimmed() : QString()) << c.typed;
    }
    const TemplateResult r = s.store.writePair(QStringLiteral("../x"), {}, goodPreview);
    EXPECT_EQ(r.message, TemplateStore::MsgEnterName);
    EXPECT_FALSE(QFileInfo::exists(s.tmp.filePath("Templates/x.png")));
}

TEST(TemplateStore, NameDialogAsksOrRefusesForExistingTemplates)
{
    Store s;
    s.pair(QStringLiteral("Party"), "old");
    QStringList asked;
    auto answer = [&](bool yes) {
        return [&asked, yes](const QString &q) {
            asked << q;
            return yes;
        };
    };
    QString name;
    EXPECT_EQ(s.store.OKPressed(QStringLiteral(" Party "), QString(), answer(false), &name).status,
              TemplateResult::Status::Cancelled);
    EXPECT_EQ(asked, QStringList{TemplateStore::MsgReplace});
    EXPECT_TRUE(s.store.OKPressed(QStringLiteral("Party"), QString(), answer(true), &name).ok());
    EXPECT_EQ(name, QStringLiteral("Party"));
    // Renaming onto another existing name asks too; to its own name passes without a question.
    s.pair(QStringLiteral("Picnic"), "x");
    asked.clear();
    EXPECT_EQ(
        s.store.OKPressed(QStringLiteral("Party"), QStringLiteral("Picnic"), answer(false), &name).status,
        TemplateResult::Status::Cancelled);
    EXPECT_EQ(asked, QStringList{TemplateStore::MsgReplace});
    asked.clear();
    EXPECT_TRUE(
        s.store.OKPressed(QStringLiteral("Picnic"), QStringLiteral("Picnic"), answer(false), &name).ok());
    EXPECT_TRUE(asked.isEmpty());
}

TEST(TemplateStore, OldPairStaysUntilTheNewOneIsWhole)
{
    Store s;
    s.pair(QStringLiteral("Party"), "old");
    TemplateResult r = s.store.writePair(QStringLiteral("Party"), {}, [](const QString &, QString *error) {
        *error = QStringLiteral("disk full");
        return false;
    });
    EXPECT_EQ(r.message, TemplateStore::MsgFail + QStringLiteral("\n\ndisk full"));
    EXPECT_EQ(readFile(s.file("Party.dcard")), QByteArray("design old"));
    EXPECT_EQ(readFile(s.file("Party.png")), QByteArray("picture old"));
    EXPECT_EQ(s.files(), (QStringList{"Party.dcard", "Party.png"})); // no scratch left behind

    r = s.store.writePair(QStringLiteral("Party"), {}, goodPreview);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.message, TemplateStore::MsgExported);
    EXPECT_EQ(readFile(s.file("Party.png")), QByteArray("new picture"));
    EXPECT_NE(readFile(s.file("Party.dcard")), QByteArray("design old"));
    EXPECT_EQ(s.files(), (QStringList{"Party.dcard", "Party.png"}));
}

TEST(TemplateStore, NamesTooLongForTheFileSystemAreRefusedUpFront)
{
    Store s;
    // 249 bytes and ".dcard" make 255: the longest name that fits. Multi-byte letters count bytes.
    const QString longest(249, QLatin1Char('n'));
    const QString tooLong = longest + QLatin1Char('n');
    const QString tooLongUtf8 = QString(124, QChar(0x00e9)) + QStringLiteral("nn"); // 250 bytes
    EXPECT_FALSE(TemplateStore::isNameTooLong(longest));
    EXPECT_TRUE(TemplateStore::isNameTooLong(tooLong));
    EXPECT_TRUE(TemplateStore::isNameTooLong(tooLongUtf8));

    QString name;
    EXPECT_EQ(s.store.OKPressed(tooLong, QString(), nullptr, &name).message, TemplateStore::MsgNameTooLong);
    EXPECT_EQ(s.store.OKPressed(tooLongUtf8, QString(), nullptr, &name).message,
              TemplateStore::MsgNameTooLong);
    EXPECT_EQ(s.store.writePair(tooLong, {}, goodPreview).message, TemplateStore::MsgNameTooLong);
    EXPECT_TRUE(s.files().isEmpty()); // no orphan preview, no scratch

    ASSERT_TRUE(s.store.writePair(longest, {}, goodPreview).ok());
    EXPECT_EQ(s.files(), (QStringList{longest + ".dcard", longest + ".png"}));
    // Renaming and copying a pair with the longest name still work.
    s.pair(QStringLiteral("Short"), "a");
    ASSERT_TRUE(s.store.renameTemplate(s.file("Short.png"), QString(248, QLatin1Char('m'))).ok());
    EXPECT_EQ(s.store.renameTemplate(s.file(longest + ".png"), tooLong).message,
              TemplateStore::MsgNameTooLong);
    // A copy's name grows by " (copy 1)": too long, it fails with the system's reason and leaves nothing.
    const QStringList before = s.files();
    const TemplateResult copy = s.store.copyTemplate(s.file(longest + ".png"));
    EXPECT_TRUE(copy.message.startsWith(TemplateStore::MsgFail + QStringLiteral("\n\n")))
        << copy.message.toStdString();
    EXPECT_TRUE(copy.message.contains(QStringLiteral("File name too long"))) << copy.message.toStdString();
    EXPECT_EQ(s.files(), before);
}

TEST(TemplateStore, PairIsWrittenDesignFirstAndAFailedSecondStepLeavesNothing)
{
    Store s;
    // Something in the way of the preview (a folder of its name that holds a file): the move of
    // the preview fails after the design went in.
    QDir().mkpath(s.file("Party.png"));
    writeFile(s.file("Party.png/inside"), "x");
    TemplateResult r = s.store.writePair(QStringLiteral("Party"), {}, goodPreview);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.message.startsWith(TemplateStore::MsgFail + QStringLiteral("\n\nParty.png: ")))
        << r.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(s.file("Party.dcard")));
    EXPECT_EQ(s.files(), QStringList{"Party.png"}); // only what stood there before

    // Over an old pair, the old design comes back.
    QDir(s.file("Party.png")).removeRecursively();
    writeFile(s.file("Party.dcard"), "design old");
    QDir().mkpath(s.file("Party.png"));
    writeFile(s.file("Party.png/inside"), "x");
    r = s.store.writePair(QStringLiteral("Party"), {}, goodPreview);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(readFile(s.file("Party.dcard")), QByteArray("design old"));
    EXPECT_EQ(s.files(), (QStringList{"Party.dcard", "Party.png"}));
}

TEST(TemplateStore, CopiesTakeTheNextFreeNumber)
{
    Store s;
    s.pair(QStringLiteral("Party"), "a");
    s.pair(QStringLiteral("Party (copy 1)"), "b");
    // A lone design file also takes its number: nothing of it is overwritten.
    writeFile(s.file("Party (copy 2).dcard"), "stray");
    TemplateResult r = s.store.copyTemplate(s.file("Party.png"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.path, s.file("Party (copy 3).dcard"));
    EXPECT_EQ(readFile(s.file("Party (copy 3).png")), QByteArray("picture a"));
    EXPECT_EQ(readFile(s.file("Party (copy 3).dcard")), QByteArray("design a"));
    EXPECT_EQ(readFile(s.file("Party (copy 2).dcard")), QByteArray("stray"));
    EXPECT_EQ(s.store.copyTemplate(s.file("Gone.png")).message, TemplateStore::MsgSelect);
}

TEST(TemplateStore, NewCopyPathChangesTheFileNameOnly)
{
    QTemporaryDir tmp;
    const QString folder = tmp.filePath("Party.png/User");
    QDir().mkpath(folder);
    const QString path = folder + "/Party.png";
    writeFile(path, "x");
    EXPECT_EQ(TemplateStore::Create_New_File_Path(path), folder + "/Party (copy 1).png");
}

TEST(TemplateStore, RenameKeepsTheOldPairUntilBothCopiesExist)
{
    Store s;
    s.pair(QStringLiteral("Party"), "a");
    s.pair(QStringLiteral("Picnic"), "b");
    EXPECT_EQ(s.store.renameTemplate(s.file("Party.png"), QStringLiteral("Picnic")).message,
              TemplateStore::MsgExists);
    EXPECT_TRUE(s.store.renameTemplate(s.file("Party.png"), QStringLiteral("Party")).ok());
    EXPECT_EQ(s.store.renameTemplate(s.file("Party.png"), QStringLiteral("..")).message,
              QStringLiteral("The name of a template must not start with \".\"."));

    TemplateResult r = s.store.renameTemplate(s.file("Party.png"), QStringLiteral("Feast"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(s.files(), (QStringList{"Feast.dcard", "Feast.png", "Picnic.dcard", "Picnic.png"}));
    // Agreed to, a rename takes over the other template's name and files.
    ASSERT_TRUE(s.store.renameTemplate(s.file("Feast.png"), QStringLiteral("Picnic"), true).ok());
    EXPECT_EQ(s.files(), (QStringList{"Picnic.dcard", "Picnic.png"}));
    EXPECT_EQ(readFile(s.file("Picnic.png")), QByteArray("picture a"));
    EXPECT_EQ(readFile(s.file("Picnic.dcard")), QByteArray("design a"));

    // A pair whose design file went missing is not renamed: its picture stays where it was.
    QFile::remove(s.file("Picnic.dcard"));
    r = s.store.renameTemplate(s.file("Picnic.png"), QStringLiteral("Lunch"));
    EXPECT_TRUE(r.message.startsWith(TemplateStore::MsgFail + QStringLiteral("\n\nPicnic.dcard: ")))
        << r.message.toStdString();
    EXPECT_TRUE(QFileInfo::exists(s.file("Picnic.png")));
    EXPECT_FALSE(QFileInfo::exists(s.file("Lunch.png")));
}

TEST(TemplateStore, DeleteAndListing)
{
    Store s;
    s.pair(QStringLiteral("b"), "1");
    s.pair(QStringLiteral("A"), "2");
    writeFile(s.file("c.JPG"), "x");
    writeFile(s.file("d.gif"), "x");
    EXPECT_EQ(s.store.templatePictures(), (QStringList{s.file("A.png"), s.file("b.png"), s.file("c.JPG")}));
    EXPECT_EQ(TemplateStore::designPathForPicture(s.file("A.png")), s.file("A.dcard"));

    ASSERT_TRUE(s.store.deleteTemplate(s.file("A.png")).ok());
    EXPECT_FALSE(QFileInfo::exists(s.file("A.dcard")));
    EXPECT_FALSE(QFileInfo::exists(s.file("A.png")));
    // Only pictures of the folder itself.
    const QString outside = s.tmp.filePath("x.png");
    writeFile(outside, "x");
    EXPECT_EQ(s.store.deleteTemplate(outside).message, TemplateStore::MsgSelect);
    EXPECT_TRUE(QFileInfo::exists(outside));
}

TEST(TemplateStore, GreetingTextsAcceptWindowsLineEnds)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("Message.txt");
    writeFile(path, "\xef\xbb\xbfHappy birthday!\r\nWell done\r\n\r\n");
    EXPECT_EQ(TemplateStore::greetingTexts(path), (QStringList{"Happy birthday!", "Well done"}));
    EXPECT_TRUE(TemplateStore::greetingTexts(tmp.filePath("none.txt")).isEmpty());
    // The store and the greeting windows split every file alike, odd ones included.
    for (const QByteArray &content : {QByteArray(""), QByteArray(" \r\n "), QByteArray("a\r\n\r\nb\n c \r"),
                                      QByteArray("\xef\xbb\xbf\xc3\xa9t\xc3\xa9\n")}) {
        writeFile(path, content);
        EXPECT_EQ(TemplateStore::greetingTexts(path), GreetingTexts::readLines(path)) << content.constData();
    }
}

TEST(TemplateStore, CardtoolExportsAPairPlistlibAndImageReadersAccept)
{
    QTemporaryDir tmp;
    const QString design = tmp.filePath("card.dcard");
    auto r = testsupport::cardtool({"invitation", "--size", "243,154", "--title", "Hello", "--out", design});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    const QString root = tmp.filePath("root");
    r = testsupport::cardtool({"template-export", design, "--name", "T1", "--root", root});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_EQ(r.lastLine(), TemplateStore::MsgExported);
    const QString folder = TemplateStore::userFolderOf(root);
    const auto py = testsupport::python(
        "import plistlib,sys; d=plistlib.load(open(sys.argv[1],'rb')); print(d[0])", {folder + "/T1.dcard"});
    EXPECT_EQ(py.outText().trimmed(), QStringLiteral("ZOLVMACFENWORADELCARD")) << py.errText().toStdString();
    // Both sides in one picture: the card's width and twice its height.
    EXPECT_EQ(QImageReader(folder + "/T1.png").size(), QSize(243, 308));

    // An existing name needs --replace; bad names leave nothing behind.
    EXPECT_EQ(testsupport::cardtool({"template-export", design, "--name", "T1", "--root", root}).exitCode, 1);
    EXPECT_EQ(testsupport::cardtool({"template-export", design, "--name", "T1", "--root", root, "--replace"})
                  .exitCode,
              0);
    r = testsupport::cardtool({"template-export", design, "--name", "../x", "--root", root});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("must not contain \"/\""))) << r.errText().toStdString();
    EXPECT_EQ(QDir(root + "/Templates").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"User"});
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"T1.dcard", "T1.png"}));
}
