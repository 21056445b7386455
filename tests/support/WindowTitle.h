// Window titles as the window system shows them: the window's own title, then the program's name.
#pragma once

#include "foundation/AppIdentity.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

#include <gtest/gtest.h>

namespace testsupport
{

// While it lives, windows carry the program's own name after their titles, as in the program.
class ProgramDisplayName
{
public:
    ProgramDisplayName() : m_before(QGuiApplication::applicationDisplayName())
    {
        QGuiApplication::setApplicationDisplayName(AppIdentity::DisplayName);
    }
    ~ProgramDisplayName() { QGuiApplication::setApplicationDisplayName(m_before); }

private:
    QString m_before;
};

// The shown window, and the least it can be made, are wide enough for its whole title in bold
// beside a title bar's icon and three buttons (a generous 20 pixels each).
inline ::testing::AssertionResult titleFits(const QWidget &window)
{
    const QString title = window.windowTitle() + QStringLiteral(" \u2014 ") + AppIdentity::DisplayName;
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int needed = QFontMetrics(bold).horizontalAdvance(title) + 4 * 20;
    const int least = std::max(window.minimumWidth(), window.minimumSizeHint().width());
    if (window.width() >= needed && least >= needed)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "\"" << title.toStdString() << "\" needs " << needed << " pixels; the window is "
           << window.width() << " wide, at least " << least;
}

} // namespace testsupport
