#include "canvas/ui/PasteboardWatcher.h"

#include <QClipboard>
#include <QGuiApplication>

PasteboardWatcher &PasteboardWatcher::instance()
{
    // Parented to the application, so it goes with it.
    static PasteboardWatcher *watcher = new PasteboardWatcher(QCoreApplication::instance());
    return *watcher;
}

PasteboardWatcher::PasteboardWatcher(QObject *parent) : QObject(parent)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { ++m_changeCount; });
}
