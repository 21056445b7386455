// Counts changes of the system clipboard, so a canvas can tell whether what it pastes is what it
// copied itself. One per program, made on first use.
#pragma once

#include <QObject>

class PasteboardWatcher : public QObject
{
    Q_OBJECT
public:
    static PasteboardWatcher &instance();

    // Grows by one with every change of the clipboard's contents, ours included.
    qint64 changeCount() const { return m_changeCount; }

private:
    explicit PasteboardWatcher(QObject *parent);
    qint64 m_changeCount = 0;
};
