// String helpers shared by every part of the program: trimming, cutting, cleaning file names,
// finding and replacing. None changes its argument; a null string in gives a null or false result.
#pragma once

#include <QString>

// White space and line breaks removed from both ends, then control characters from both ends.
QString Trim_Str(const QString &s);
QString Replace_Char_For_valid(const QString &s); // the same as Trim_Str
// / \ ? % * | " < > removed from both ends only (inside the name they stay), then Trim_Str.
QString Remove_Reserve_Char_In_File_Name(const QString &s);
QString Left_Str_substringToIndex(const QString &s, int n);    // first n characters
QString Right_Str_substringFromIndex(const QString &s, int n); // last n characters
QString Read_Str_FromIndex(const QString &s, int i);           // from i to the end; "" when out of range
// Every occurrence of `a` replaced by `b`; an empty `a` changes nothing.
QString Replace_char_in_string(const QString &s, const QString &a, const QString &b);
// Whether `sub` occurs in `s` (case-sensitive); an empty `sub` is never found.
bool Find_Str(const QString &s, const QString &sub);
