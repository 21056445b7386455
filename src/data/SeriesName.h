// The one rule by which a typed series name becomes the name of its file: blanks and the reserved
// file-name characters come off both ends, and a name that would lose more than blanks is refused.
#pragma once

#include <QString>

class SeriesName
{
public:
    // The typed name with blanks, line breaks, control characters and the reserved characters
    // / \ ? % * | " < > taken off both ends, as often as any is left there; characters inside
    // stay. Cleaning a cleaned name changes nothing.
    static QString clean(const QString &typed);

    // "" when the typed name can name a series, else the message for the user: a name that is
    // empty, would clean to another name than its trimmed self (the character is named), holds a
    // slash or backslash, or begins with a dot.
    static QString problem(const QString &typed);
    // The same rule for other names kept as files (templates): the messages speak of `subject`
    // ("a template"), and an empty name gets `emptyMessage`.
    static QString problem(const QString &typed, const QString &subject, const QString &emptyMessage);

    // Whether a name already given (a listed series, one a design remembers) can be looked up in
    // the folder without leading out of it.
    static bool reachable(const QString &name);

    // The base name of a series' file: the name trimmed. A typed name is accepted only when it
    // is its own cleaning, so every series is found under the name the list shows.
    static QString fileStem(const QString &name);
};
