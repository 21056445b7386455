// Names in Arabic, Hebrew, Chinese, Cyrillic, Latin, Devanagari, Thai and Greek script drawn as a
// fresh machine draws them: with only the fonts of the packages packages.txt installs (the
// program's, and an oblique face without Arabic, as desktops have, which Qt's own fallback would
// pick for the italic Arabic name), on the card's PDF, the printed sheets and the exported
// picture; checked with poppler, whose text of each PDF holds every name as typed.
#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "model/SKTText.h"
#include "platform/ProcessRunner.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTransform>
#include <gtest/gtest.h>

namespace
{

const QStringList kWords = {QString::fromUtf8("محمد"),      QString::fromUtf8("שלום"),
                            QString::fromUtf8("你好"),      QString::fromUtf8("Привет"),
                            QString::fromUtf8("Zoë"),       QString::fromUtf8("प्रिया शर्मा"),
                            QString::fromUtf8("สมชาย ใจดี"), QString::fromUtf8("Γιώργος")};

QRectF wordBox(qsizetype i)
{
    return QRectF(20, 15 + 40 * double(i), 200, 30);
}

// The front side: each word in a text of its own, in the card's default italic serif.
QString writeDesign(const QTemporaryDir &dir)
{
    CardDesign d;
    d.resetPages();
    d.setCardSize(QSizeF(300, 15 + 40 * double(kWords.size())));
    GraphicList &texts = d.front;
    for (qsizetype i = 0; i < kWords.size(); ++i) {
        auto t = std::dynamic_pointer_cast<SKTText>(SKTGraphic::create(SKTGraphic::Kind::Text));
        t->setBounds(wordBox(i));
        t->_Text_contents = AttributedText{kWords[i], {}, {}, 0};
        t->text_ctrl_font = FontDescriptor{QStringLiteral("TimesNewRomanPS-ItalicMT"), 20};
        t->txt_clr = QColor(Qt::black);
        texts << t;
    }
    const QString path = dir.filePath("words.dcard");
    QString error;
    EXPECT_TRUE(DesignFile::writeItems(path, DesignFileFormat::buildItems(d), &error)) << error.toStdString();
    return path;
}

// A font configuration that knows the font files of packages.txt's font packages and no other.
QString packageFontsConfig(const QTemporaryDir &dir)
{
    const QDir fonts(dir.filePath("fonts"));
    EXPECT_TRUE(fonts.mkpath("."));
    const QStringList lines = QString::fromUtf8(testsupport::readFile(TESSALY_TESTS_DIR "/../packages.txt"))
                                  .split(QLatin1Char('\n'));
    int files = 0;
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1String("fonts-")))
            continue;
        const testsupport::ProcResult listed = testsupport::run("dpkg", {"-L", line.trimmed()});
        EXPECT_EQ(listed.exitCode, 0) << line.toStdString() << " is not installed";
        for (const QString &file : listed.outText().split(QLatin1Char('\n')))
            if (file.endsWith(".ttf") || file.endsWith(".otf") || file.endsWith(".ttc"))
                files += QFile::link(
                             file, fonts.filePath(QString::number(files) + '-' + QFileInfo(file).fileName()))
                             ? 1
                             : 0;
    }
    EXPECT_GT(files, 0);
    const QString config = dir.filePath("fonts.conf");
    testsupport::writeFile(config, QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n<dir>%1</dir>\n"
                                                  "<cachedir>%2</cachedir>\n</fontconfig>\n")
                                       .arg(fonts.absolutePath(), dir.filePath("cache"))
                                       .toUtf8());
    return config;
}

testsupport::ProcResult cardtoolWith(const QString &fontConfig, const QStringList &args)
{
    ProcessRunner::Request request;
    request.program = QStringLiteral(CARDTOOL_PATH);
    request.arguments = args;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FONTCONFIG_FILE", fontConfig);
    request.environment = env;
    request.timeoutMs = 120000;
    ProcessRunner::Result r = ProcessRunner::run(request);
    return {r.exitCode, std::move(r.standardOutput), std::move(r.standardError)};
}

// Dark pixels of the image inside a box given in points, its border left out.
int darkPixels(const QImage &image, const QRectF &points, double dpi)
{
    const QRect box =
        QTransform::fromScale(dpi / 72, dpi / 72).mapRect(points.adjusted(2, 2, -2, -2)).toRect();
    int dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
}

} // namespace

TEST(ScriptDrawing, EveryWordIsDrawnWithThePackagesFontsOnEveryRoad)
{
    QTemporaryDir dir;
    const QString design = writeDesign(dir);
    const QString fonts = packageFontsConfig(dir);

    const QString card = dir.filePath("card.pdf"), sheets = dir.filePath("sheets.pdf");
    ASSERT_EQ(cardtoolWith(fonts, {"render", design, "--format", "pdf", "--out", card}).exitCode, 0);
    ASSERT_EQ(
        cardtoolWith(fonts, {"print", design, "--out", sheets, "--paper", "A4", "--rows", "1", "--cols", "1"})
            .exitCode,
        0);
    for (const QString &pdf : {card, sheets}) {
        const QString text = testsupport::output("pdftotext", {pdf, "-"});
        for (const QString &word : kWords)
            EXPECT_TRUE(text.contains(word)) << word.toStdString() << " not in " << text.toStdString();
    }

    // The exported picture and the card's PDF as poppler draws it: every word's box has ink, each
    // as much as a third of the Latin one's at least (a gap has none).
    const QString png = dir.filePath("card.png");
    ASSERT_EQ(
        cardtoolWith(fonts, {"render", design, "--format", "png", "--dpi", "150", "--out", png}).exitCode, 0);
    ASSERT_EQ(testsupport::run("pdftoppm", {"-r", "150", "-png", "-singlefile", card, dir.filePath("pdf")})
                  .exitCode,
              0);
    for (const QString &picture : {png, dir.filePath("pdf.png")}) {
        const QImage image(picture);
        ASSERT_FALSE(image.isNull()) << picture.toStdString();
        const int latin = darkPixels(image, wordBox(4), 150);
        EXPECT_GT(latin, 100) << picture.toStdString();
        for (qsizetype i = 0; i < kWords.size(); ++i)
            EXPECT_GT(darkPixels(image, wordBox(i), 150), latin / 3)
                << kWords[i].toStdString() << " in " << picture.toStdString();
    }
}
