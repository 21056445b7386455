// Small text rules of the data engine: trimming values and cleaning series names as the rest of
// the program does, and keeping line breaks out of one-line values.
#pragma once

#include <QString>

class DataText
{
public:
    // Trim_Str and Remove_Reserve_Char_In_File_Name of the foundation, under the names used here.
    // White space and line breaks, then control characters, removed from both ends.
    static QString trim(const QString &s);
    // / \ ? % * | " < > removed from both ends (inside the name they stay), then trimmed.
    static QString cleanFileName(const QString &s);
    // A value of a series is one line: every line break inside it becomes a blank.
    static QString oneLine(const QString &s);
};
