// Programming errors of the canvas classes: the message is logged as critical and the caller
// returns early, in every build, so a wrong call never takes the user's work down with it.
#pragma once

#include <QtGlobal>

inline bool canvasCheck(bool condition, const char *message)
{
    if (!condition)
        qCritical("%s", message);
    return condition;
}
