#include "foundation/ui/WindowLook.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <typeinfo>

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
    // A window placed here before counts as moved, which keeps Qt from centring it; over a
    // window where it has no place yet, it is centred as at a first opening.
    static const char *const placed = "keptPlaceRestored";
    if (!m_offset) {
        if (window->property(placed).toBool())
            window->setAttribute(Qt::WA_Moved, false);
        return;
    }
    // setGeometry places the client area itself; it must not fix the size, which the window still
    // fits to what it shows when it opens.
    const bool sized = window->testAttribute(Qt::WA_Resized);
    window->setGeometry(QRect(originOf(window) + *m_offset, window->size()));
    window->setAttribute(Qt::WA_Resized, sized);
    window->setProperty(placed, true);
}

void WindowLook::KeptPlace::keep(const QWidget *window)
{
    // A window that never showed has no place of its own yet (it is given a native window when
    // first shown, and keeps its place once hidden).
    if (window->windowHandle())
        m_offset = window->geometry().topLeft() - originOf(window);
}

namespace
{
// A window by its C++ class (which a class without Q_OBJECT has too) and name, and a plain dialog
// without a name by its title. Never by a title its own class sets: the main window's changes
// with the design.
QString nameOf(const QWidget *window)
{
    const std::type_info &type = typeid(*window);
    QString name = QString::fromLatin1(type.name()) + QLatin1Char('/') + window->objectName();
    if (window->objectName().isEmpty() && (type == typeid(QDialog) || type == typeid(QWidget)))
        name += QLatin1Char('/') + window->windowTitle();
    return name;
}

// The kind a window's place is kept for: the window and the window it opens over, as its place is
// beside that one. A message box is its own window, centred on its text: no place is kept for it.
QString kindOf(const QObject *watched)
{
    const auto *dialog = qobject_cast<const QDialog *>(watched);
    if (!dialog || !dialog->isWindow() || qobject_cast<const QMessageBox *>(dialog))
        return QString();
    const QWidget *parent = dialog->parentWidget();
    return nameOf(dialog) + QStringLiteral(" over ") + (parent ? nameOf(parent->window()) : QString());
}
} // namespace

void WindowLook::KeptPlaces::installOn(QCoreApplication &app)
{
    const QString name = QStringLiteral("KeptPlaces");
    if (app.findChild<QObject *>(name, Qt::FindDirectChildrenOnly))
        return;
    auto *places = new KeptPlaces(&app);
    places->setObjectName(name);
    app.installEventFilter(places);
}

bool WindowLook::KeptPlaces::eventFilter(QObject *watched, QEvent *event)
{
    // Filters see Show before the dialog centres itself (unless moved) and the window system maps it.
    // A window manager's own showing and hiding (a minimised window brought back) moves nothing.
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide) || event->spontaneous())
        return false;
    const QString kind = kindOf(watched);
    if (kind.isEmpty())
        return false;
    auto *window = static_cast<QWidget *>(watched);
    if (type == QEvent::Show)
        m_places[kind].restore(window);
    else
        m_places[kind].keep(window);
    return false;
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
