// The tools of the main window: choosing one creates its object at once on the side being edited
// (at the next free place, with its default size), then the tool falls back to the arrow.
#pragma once

#include "model/SKTGraphic.h"

#include <QList>
#include <QObject>

#include <optional>

class QAbstractButton;
class QWidget;
class SKTWindowController;

class ToolController : public QObject
{
    Q_OBJECT
public:
    static constexpr int ToolCount = 16;

    ToolController(SKTWindowController &window, QWidget *buttonParent);

    int Selected_Control_Tool() const { return m_tool; }
    // The kind the current tool makes; none for the arrow, the fingerprint and unknown numbers.
    std::optional<SKTGraphic::Kind> currentGraphicClass() const;
    static std::optional<SKTGraphic::Kind> graphicClassForTool(int tool);
    static QString toolTitle(int tool);

    // A tool button: sets the tool, which creates its object, then refreshes and shows it.
    void Select_tool(int tool);
    // Only the code, as placing personal details sets it: nothing is made or shown.
    void setToolCode(int tool) { m_tool = tool; }
    void Select_tool_action();
    // Back to the arrow without refreshing or showing anything.
    void selectArrowTool();
    // The immediate creation that follows every tool change.
    void selectedToolDidChange();

    QWidget *toolBar() const { return m_bar; }
    QAbstractButton *button(int tool) const { return m_buttons.value(tool); }

signals:
    void selectedToolChanged();

protected:
    // The second press of a double-click makes no second object.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SKTWindowController &m_window;
    int m_tool = 0;
    QWidget *m_bar = nullptr;
    QList<QAbstractButton *> m_buttons;
    QObject *m_doubleClicked = nullptr; // the button whose double-click's release is still to come
};
