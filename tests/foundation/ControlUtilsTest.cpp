// Enabling controls: a group box passes the state to its controls (nested boxes too) and stays
// enabled itself, so one control can be enabled again on its own.
#include "foundation/ui/ControlUtils.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

TEST(SetObjEnabled, GroupBoxesPassTheStateToTheirControls)
{
    QWidget window;
    auto *box = new QGroupBox(QStringLiteral("Mail"), &window);
    auto *layout = new QVBoxLayout(box);
    auto *edit = new QLineEdit(box);
    auto *label = new QLabel(QStringLiteral("Server"), box);
    auto *inner = new QGroupBox(QStringLiteral("Inner"), box);
    auto *innerLayout = new QVBoxLayout(inner);
    auto *button = new QPushButton(QStringLiteral("Test"), inner);
    layout->addWidget(edit);
    layout->addWidget(label);
    layout->addWidget(inner);
    innerLayout->addWidget(button);

    SetObjEnabled(box, false);
    EXPECT_TRUE(box->isEnabled());
    EXPECT_TRUE(inner->isEnabled());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(label->isEnabled());
    EXPECT_FALSE(button->isEnabled());

    SetObjEnabled(button, true); // a single control can come back on its own
    EXPECT_TRUE(button->isEnabled());

    SetObjEnabled(box, true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(label->isEnabled());

    SetObjEnabled(edit, false);
    EXPECT_FALSE(edit->isEnabled());
    SetObjEnabled(nullptr, true); // harmless
}
