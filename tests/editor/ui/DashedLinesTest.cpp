// A dashed or dotted line with round or square caps, set in the line page as a user sets it, keeps
// its dashes on the canvas and in exported pictures and PDF files (read back by poppler).
#include "MainWindowFixture.h"

#include "canvas/ui/ZoomFactor.h"
#include "editor/ui/FileCommands.h"
#include "foundation/ui/StepperField.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/LineTab.h"
#include "panels/ui/ShapeLinePanel.h"
#include "support/TestSupport.h"

#include <QComboBox>

namespace
{
// Dashes and gaps along row y of a picture of the card at 4 pixels a point, between x 20 and 220
// points (clear of the line's ends and handles), in points; the runs cut there are left out.
struct Runs {
    QList<double> dashes, gaps;
};
Runs runsAlong(const QImage &image, int y)
{
    QList<std::pair<bool, int>> runs; // dark or light, pixels
    for (int x = 20 * 4; x < 220 * 4 && x < image.width(); ++x) {
        const bool dark = qGray(image.pixel(x, y)) < 128;
        if (runs.isEmpty() || runs.last().first != dark)
            runs.append({dark, 0});
        ++runs.last().second;
    }
    Runs out;
    for (qsizetype i = 1; i + 1 < runs.size(); ++i)
        (runs[i].first ? out.dashes : out.gaps).append(runs[i].second / 4.0);
    return out;
}

void expectDashed(const Runs &runs, double dash, double gap, const char *where)
{
    EXPECT_GE(runs.gaps.size(), 8) << where;
    for (double d : runs.dashes)
        EXPECT_NEAR(d, dash, 1.0) << where;
    for (double g : runs.gaps)
        EXPECT_NEAR(g, gap, 1.0) << where;
}
} // namespace

class DashedLines : public MainWindowFixture
{
protected:
    static void choose(QComboBox *combo, const QString &item)
    {
        combo->setCurrentIndex(combo->findText(item));
        emit combo->activated(combo->currentIndex());
    }
};

TEST_F(DashedLines, RoundAndSquareCapsKeepTheDashesOnTheCanvasAndInExports)
{
    clickTool(1);
    ASSERT_EQ(front().size(), 1);
    const GraphicPtr line = front().first();
    line->setBounds(QRectF(10, 77, 220, 0)); // across the card, as a drag of its end would leave it
    LineTab &page = window->inspector().shapeLinePanel().lineTab();
    page.Line_Wdt_Stepper->stepBy(6 - int(page.Line_Wdt_Stepper->value()));
    const struct {
        const char *style, *cap;
        double dash, gap; // as they show: a dash shorter than the width shows as a dot of the width
    } cases[] = {{"Dash", "Round", 8, 2}, {"Dot", "Round", 6, 6}, {"Dash", "Square", 8, 2}};
    for (const auto &c : cases) {
        choose(page.Line_border_style, QString::fromLatin1(c.style));
        choose(page.Line_cap_style, QString::fromLatin1(c.cap));
        ASSERT_EQ(line->strokeWidth(), 6.0);
        const std::string what = std::string(c.style) + " with " + c.cap + " caps, ";

        window->zoomFactor().setFactor(4.0);
        QCoreApplication::processEvents();
        const QImage canvasPicture = canvas(0)->grab().toImage();
        expectDashed(runsAlong(canvasPicture, 77 * 4), c.dash, c.gap, (what + "canvas").c_str());

        const QString design = tempPath(QStringLiteral("line.dcard"));
        files.answers.push_back(design);
        window->fileCommands().SaveAs_Btn_Clicked();
        const QString png = tempPath(QStringLiteral("line.png"));
        ASSERT_EQ(testsupport::cardtool({QStringLiteral("render"), design, QStringLiteral("--format"),
                                         QStringLiteral("png"), QStringLiteral("--dpi"),
                                         QStringLiteral("288"), QStringLiteral("--out"), png})
                      .exitCode,
                  0);
        expectDashed(runsAlong(QImage(png), 77 * 4), c.dash, c.gap, (what + "PNG export").c_str());
        if (!testsupport::hasTool(QStringLiteral("pdftoppm")))
            continue;
        const QString pdf = tempPath(QStringLiteral("line.pdf"));
        ASSERT_EQ(testsupport::cardtool({QStringLiteral("render"), design, QStringLiteral("--format"),
                                         QStringLiteral("pdf"), QStringLiteral("--out"), pdf})
                      .exitCode,
                  0);
        testsupport::run(QStringLiteral("pdftoppm"),
                         {QStringLiteral("-r"), QStringLiteral("288"), QStringLiteral("-png"),
                          QStringLiteral("-singlefile"), pdf, tempPath(QStringLiteral("page"))});
        expectDashed(runsAlong(QImage(tempPath(QStringLiteral("page.png"))), 77 * 4), c.dash, c.gap,
                     (what + "PDF export").c_str());
    }
    saveArtifact(window.get(), QStringLiteral("dashed_line_square_caps.png"));
}
