#include "foundation/ui/WindowLook.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

QColor WindowLook::backgroundColor()
{
    return QColor::fromRgbF(241 / 255.0f, 244 / 255.0f, 250 / 255.0f, 1.0f);
}

void WindowLook::applyBackground(QWidget *window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, backgroundColor());
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

QHBoxLayout *WindowLook::okCancelRow(QWidget *window, QPushButton *&ok, QPushButton *&cancel)
{
    ok = new QPushButton(QStringLiteral("OK"), window);
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Cancel"), window);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(cancel);
    row->addWidget(ok);
    return row;
}

namespace
{
// Places are client areas, never frames: Qt learns a frame's size from the window manager some
// time after a window maps, so a frame position read early and written back later stood a title
// bar's height off.
QPoint originOf(const QWidget *window)
{
    const QWidget *parent = window->parentWidget();
    return parent ? parent->window()->geometry().topLeft() : QPoint();
}
} // namespace

void WindowLook::KeptPlace::restore(QWidget *window) const
{
    if (!m_offset)
        return;
    // setGeometry places the client area itself; it must not fix the size, which the window still
    // fits to what it shows when it opens.
    const bool sized = window->testAttribute(Qt::WA_Resized);
    window->setGeometry(QRect(originOf(window) + *m_offset, window->size()));
    window->setAttribute(Qt::WA_Resized, sized);
}

void WindowLook::KeptPlace::keep(const QWidget *window)
{
    // A window that never showed has no place of its own yet (it is given a native window when
    // first shown, and keeps its place once hidden).
    if (window->windowHandle())
        m_offset = window->geometry().topLeft() - originOf(window);
}

void WindowLook::keepOver(QWidget *window, QWidget *parent)
{
    if (window->parentWidget() != parent)
        window->setParent(parent, window->windowFlags());
}

int WindowLook::titleBarWidth(const QWidget *window)
{
    QString title = window->windowTitle();
    const QString program = QGuiApplication::applicationDisplayName();
    if (!program.isEmpty() && !title.endsWith(program))
        title += QStringLiteral(" \u2014 ") + program;
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true); // most window managers write titles in bold
    const QFontMetrics metrics(font);
    // The window manager's icon, its three buttons and the margins: about five lines' height.
    return metrics.horizontalAdvance(title) + 5 * metrics.height();
}

void WindowLook::fitTitle(QWidget *window)
{
    window->setMinimumWidth(std::max(window->minimumWidth(), titleBarWidth(window)));
}
