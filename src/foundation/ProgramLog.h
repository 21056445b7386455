// The program's log file: once it is open, the lines Show_NSLog_Message writes and Qt's warnings
// go there instead of the terminal. It holds addresses and file names, so it is the user's alone (0600,
// folder 0700).
#pragma once

#include <QString>

class ProgramLog
{
public:
    // $XDG_STATE_HOME/tessaly-designer/tessaly-designer.log, with ~/.local/state when unset.
    static QString defaultPath();
    // Opens the log at path for appending; a log already larger than KeepBytes is first moved to
    // path + ".1", so the log never grows past about twice that; Qt's warnings go to it until close.
    // False when it cannot be opened.
    static bool open(const QString &path);
    static void close();
    // Appends one time-stamped line; false when no log is open.
    static bool write(const QString &text);

    static constexpr qint64 KeepBytes = 1024 * 1024;
};
