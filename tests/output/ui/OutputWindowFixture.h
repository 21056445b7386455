// The window fixture with a stand-in main window for the export and print windows: a widget to
// hang sheets on, a design to copy, and the redraws asked for.
#pragma once

#include "model/CardDesign.h"
#include "output/BatchDesignFixture.h"
#include "output/ui/OutputHost.h"
#include "support/WindowFixture.h"

#include <QWidget>

namespace outputtest
{

class FakeHost : public OutputHost
{
public:
    explicit FakeHost(CardDesign design) : design(std::move(design))
    {
        window.setWindowTitle(QStringLiteral("Tessaly Greeting Designer"));
        window.resize(640, 480);
    }
    QWidget *outputWindow() override { return &window; }
    const CardDesign &batchDesign() override { return design; }
    void Refresh_Canvas() override { ++redraws; }
    QString designName() override { return QStringLiteral("card"); }
    QString designPath() override { return path; }

    QWidget window;
    CardDesign design;
    QString path; // the design's file; none: never saved
    int redraws = 0;
};

// A double-sided card with one fixed text on each side and no data source.
inline CardDesign plainDesign()
{
    CardDesign design;
    design.front << batchtest::text(QRectF(10, 10, 200, 30), 0);
    design.back << batchtest::text(QRectF(10, 60, 200, 30), 0);
    design.setCardSize(QSizeF(243, 154));
    design.frontPage.Card_Side = QStringLiteral("2");
    return design;
}

} // namespace outputtest
