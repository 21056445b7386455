#include "editor/ui/EditButtons.h"

#include "model/GraphicPasteboard.h"
#include "platform/UndoManager.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>

namespace
{
// Keeps a menu item's enabled state with its button's; lives as long as the item.
class EnabledFollower : public QObject
{
public:
    EnabledFollower(QAbstractButton *button, QAction *action) : QObject(action), m_action(action)
    {
        button->installEventFilter(this);
        action->setEnabled(button->isEnabled());
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            m_action->setEnabled(static_cast<QWidget *>(watched)->isEnabled());
        return false;
    }

private:
    QAction *m_action;
};
} // namespace

EditButtons::EditButtons(QWidget *parent) : QObject(parent), m_row(new QWidget(parent))
{
    auto *layout = new QHBoxLayout(m_row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    const auto make = [&](QAbstractButton *&field, const char *name, const QString &text) {
        auto *b = new QToolButton(m_row);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(text);
        b->setFocusPolicy(Qt::NoFocus); // the canvas keeps the keyboard
        layout->addWidget(b);
        field = b;
    };
    make(Undo_btn, "Undo_btn", QStringLiteral("Undo"));
    make(Redo_btn, "Redo_btn", QStringLiteral("Redo"));
    make(Cut_btn, "Cut_btn", QStringLiteral("Cut"));
    make(Copy_btn, "Copy_btn", QStringLiteral("Copy"));
    make(Paste_btn, "Paste_btn", QStringLiteral("Paste"));
    make(Delete_btn, "Delete_btn", QStringLiteral("Delete"));
    make(Begin_Front_btn, "Begin_Front_btn", QStringLiteral("Front"));
    make(Send_Back_btn, "Send_Back_btn", QStringLiteral("Back"));
    make(Lock_btn, "Lock_btn", QStringLiteral("Lock"));
    make(Unlock_btn, "Unlock_btn", QStringLiteral("Unlock"));
    layout->addStretch();
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, &EditButtons::Set_Paste_Button_Status);
}

void EditButtons::setUndoManager(UndoManager *undo)
{
    if (m_undo)
        disconnect(m_undo, nullptr, this, nullptr);
    m_undo = undo;
    if (m_undo)
        connect(m_undo, &UndoManager::stateChanged, this, &EditButtons::Undo_Redo_Button_state);
    Undo_Redo_Button_state();
}

void EditButtons::setUndoRedoActions(QAction *undo, QAction *redo)
{
    m_undoAction = undo;
    m_redoAction = redo;
    Undo_Redo_Button_state();
}

void EditButtons::followEnabled(QAbstractButton *button, QAction *action)
{
    if (button && action)
        new EnabledFollower(button, action);
}

void EditButtons::setPreviewing(bool previewing)
{
    m_previewing = previewing;
    if (previewing)
        setStandard(false, false, false, false, false, false, false);
    Set_Paste_Button_Status();
}

void EditButtons::setStandard(bool cut, bool copy, bool del, bool front, bool back, bool lock, bool unlock)
{
    if (m_previewing)
        cut = copy = del = front = back = lock = unlock = false;
    Cut_btn->setEnabled(cut);
    Copy_btn->setEnabled(copy);
    Delete_btn->setEnabled(del);
    Begin_Front_btn->setEnabled(front);
    Send_Back_btn->setEnabled(back);
    Lock_btn->setEnabled(lock);
    Unlock_btn->setEnabled(unlock);
}

void EditButtons::Enable_Standard_Button_For_Control()
{
    Undo_Redo_Button_state();
    Set_Paste_Button_Status();
    setStandard(true, true, true, true, true, true, false);
}

void EditButtons::Enable_Standard_Button_For_Unlock()
{
    Enable_Standard_Button_For_Control();
}

void EditButtons::Disable_Standard_Button_For_Lock()
{
    Paste_btn->setEnabled(false);
    setStandard(false, false, false, false, false, false, true);
}

void EditButtons::Disable_Standard_Button_For_Card()
{
    Set_Paste_Button_Status();
    setStandard(false, false, false, false, false, false, false);
}

void EditButtons::deferClipboard()
{
    m_clipboardDeferred = true;
}

void EditButtons::endClipboardDeferral()
{
    if (!m_clipboardDeferred)
        return;
    m_clipboardDeferred = false;
    QTimer::singleShot(0, this, &EditButtons::Set_Paste_Button_Status);
}

void EditButtons::Set_Paste_Button_Status()
{
    if (m_clipboardDeferred) {
        Paste_btn->setEnabled(false);
        return;
    }
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *mime = clipboard ? clipboard->mimeData() : nullptr;
    // File names alone (or nothing of ours and no picture) leave Paste off; a picture from another
    // program pastes as a new picture object.
    Paste_btn->setEnabled(!m_previewing && mime &&
                          (GraphicPasteboard::hasGraphics(mime) || mime->hasImage()));
}

void EditButtons::Undo_Redo_Button_state()
{
    const bool canUndo = m_undo && m_undo->canUndo();
    const bool canRedo = m_undo && m_undo->canRedo();
    Undo_btn->setEnabled(canUndo);
    Redo_btn->setEnabled(canRedo);
    // The menu items keep their mnemonics under every step name; an "&" in a name is no mnemonic.
    const auto title = [](const QString &verb, const QString &name) {
        QString escaped = name;
        escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
        return name.isEmpty() ? verb : verb + QLatin1Char(' ') + escaped;
    };
    if (m_undoAction) {
        m_undoAction->setEnabled(canUndo);
        m_undoAction->setText(title(QStringLiteral("&Undo"), canUndo ? m_undo->undoActionName() : QString()));
    }
    if (m_redoAction) {
        m_redoAction->setEnabled(canRedo);
        m_redoAction->setText(title(QStringLiteral("&Redo"), canRedo ? m_undo->redoActionName() : QString()));
    }
}
