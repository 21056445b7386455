// A user's click on a check box's or radio button's indicator, found where the style draws it
// (a fixed offset hits it in one style and misses it in another).
#pragma once

#include <QAbstractButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

namespace testsupport
{

// The indicator's rectangle in the button's own coordinates: the box of a check box, the circle
// of a radio button.
inline QRect indicatorRect(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QStyle::SubElement element = qobject_cast<const QRadioButton *>(button) != nullptr
                                           ? QStyle::SE_RadioButtonIndicator
                                           : QStyle::SE_CheckBoxIndicator;
    return button->style()->subElementRect(element, &option, button);
}

// Clicks the middle of the indicator.
inline void clickIndicator(QAbstractButton *button)
{
    if (!button) {
        ADD_FAILURE() << "no button to click";
        return;
    }
    const QRect indicator = indicatorRect(button);
    if (indicator.isEmpty() || !button->rect().contains(indicator.center())) {
        ADD_FAILURE() << "the style draws no indicator inside " << button->objectName().toStdString();
        return;
    }
    QTest::mouseClick(button, Qt::LeftButton, {}, indicator.center());
}

} // namespace testsupport
