// The look every window of the program shares: the pale blue-grey window colour.
#pragma once

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QString>

#include <optional>

class QCoreApplication;
class QEvent;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace WindowLook
{
// RGB (241, 244, 250), opaque.
QColor backgroundColor();
void applyBackground(QWidget *window);
// The dialogs' closing row: Cancel, then OK as the default button, pushed to the right.
QHBoxLayout *okCancelRow(QWidget *window, QPushButton *&ok, QPushButton *&cancel);
// The width a title bar needs to show the window's whole title: the title as the window system
// shows it (the program's name after it) in the title font, and room for the window manager's
// icon and buttons.
int titleBarWidth(const QWidget *window);
// Keeps the window at least that wide, so that its title is never cut. Call after setWindowTitle.
void fitTitle(QWidget *window);
// A window kept for reuse, with its choices, moves under the window about to open it: a dialog
// shows centred on its parent, and only while that parent is shown.
void keepOver(QWidget *window, QWidget *parent);

// Where a window stood, beside its parent, when it last closed. Qt centres a dialog anew at each
// showing, by a size that changes with what it shows: kept, the window opens where it opened
// before, so a click a user remembers lands on the same control.
class KeptPlace
{
public:
    // Before the window shows: back where it was kept (nothing the first time).
    void restore(QWidget *window) const;
    // After it closed.
    void keep(const QWidget *window);

private:
    std::optional<QPoint> m_offset; // from the parent's top-left corner, or the screen's
};

// The one rule every window of the program goes through, however it is shown: a dialog opens
// where the last window of its kind stood when it closed. Installed on the application object.
class KeptPlaces : public QObject
{
public:
    explicit KeptPlaces(QObject *parent = nullptr) : QObject(parent) {}
    // Installs one on the application, once.
    static void installOn(QCoreApplication &app);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QString, KeptPlace> m_places; // by kind of window
};
} // namespace WindowLook
