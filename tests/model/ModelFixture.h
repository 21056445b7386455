// Shared set-up of the model tests: fresh process-wide state and a fake main window that records
// what the objects ask of it.
#pragma once

#include "foundation/FoundationState.h"
#include "model/ModelGlobals.h"
#include "model/ModelHost.h"

#include <gtest/gtest.h>

#include <QStringList>

class FakeModelHost : public ModelHost
{
public:
    QRectF canvas = QRectF(0, 0, 243, 154);
    int frontCount = 0;
    int backCount = 0;
    int resets = 0;
    QStringList newPointSides;

    QRectF frontCanvasBounds() const override { return canvas; }
    void Reset_Image_Editing_Controls() override { ++resets; }
    QPointF Control_New_Point(const QString &side) override
    {
        newPointSides << side;
        return ModelGlobals::instance().Control_New_Point(side, frontCount, backCount, canvas.size());
    }
};

class ModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModelGlobals::instance().reset();
        FoundationState::instance().setResourcePath(QStringLiteral("/res"));
        ModelGlobals::instance().Main_App_wnd = &host;
    }
    void TearDown() override
    {
        ModelGlobals::instance().reset();
        FoundationState::instance().reset();
    }
    FakeModelHost host;
};
