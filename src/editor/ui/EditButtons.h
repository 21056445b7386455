// The row of edit buttons (undo, redo, cut, copy, paste, delete, front, back, lock, unlock) and the
// rules that enable them for the card page, an unlocked or a locked object, and the clipboard.
#pragma once

#include <QObject>

class QAbstractButton;
class QAction;
class QWidget;
class UndoManager;

class EditButtons : public QObject
{
    Q_OBJECT
public:
    explicit EditButtons(QWidget *parent);

    QWidget *row() const { return m_row; }
    void setUndoManager(UndoManager *undo);
    // Menu items whose titles follow the undo manager ("Undo <action>").
    void setUndoRedoActions(QAction *undo, QAction *redo);
    // The menu item is enabled and disabled with the button, from now on.
    static void followEnabled(QAbstractButton *button, QAction *action);
    // In Preview nothing is edited: every button but Undo and Redo (which show the front) is off.
    void setPreviewing(bool previewing);
    bool isPreviewing() const { return m_previewing; }

    void Enable_Standard_Button_For_Control();
    void Enable_Standard_Button_For_Unlock();
    void Disable_Standard_Button_For_Lock();
    void Disable_Standard_Button_For_Card();
    // Paste is on exactly when the clipboard offers copied card objects or a picture.
    void Set_Paste_Button_Status();
    // Asking the clipboard whether it holds a picture loads every image-format plugin (Qt asks
    // each which types it reads): while the main window is built, Paste stays off and the
    // clipboard is asked once the window shows, from the event loop.
    void deferClipboard();
    void endClipboardDeferral();
    void Undo_Redo_Button_state();

    QAbstractButton *Undo_btn = nullptr;
    QAbstractButton *Redo_btn = nullptr;
    QAbstractButton *Cut_btn = nullptr;
    QAbstractButton *Copy_btn = nullptr;
    QAbstractButton *Paste_btn = nullptr;
    QAbstractButton *Delete_btn = nullptr;
    QAbstractButton *Begin_Front_btn = nullptr;
    QAbstractButton *Send_Back_btn = nullptr;
    QAbstractButton *Lock_btn = nullptr;
    QAbstractButton *Unlock_btn = nullptr;

private:
    void setStandard(bool cut, bool copy, bool del, bool front, bool back, bool lock, bool unlock);
    QWidget *m_row;
    UndoManager *m_undo = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    bool m_previewing = false;
    bool m_clipboardDeferred = false;
};
