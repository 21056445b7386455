// Naming the undo step a command makes, so the Edit menu reads "Undo Paste" or "Redo Align Left
// Edges". The document names the steps it records by themselves (insert, delete, move, resize,
// property changes); a command that knows better renames its own step afterwards.
#pragma once

#include "platform/UndoManager.h"

#include <QString>

#include <utility>

// Runs command and names the step it recorded. A command that recorded nothing (registration
// off, a side without undo, nothing to do) leaves the names of earlier steps alone.
template <typename Command> void runNamedUndoStep(UndoManager &undo, const QString &name, Command &&command)
{
    const quint64 before = undo.registrationCount();
    std::forward<Command>(command)();
    if (undo.registrationCount() != before && !undo.isUndoing() && !undo.isRedoing())
        undo.setActionName(name);
}
