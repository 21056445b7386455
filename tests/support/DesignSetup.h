// A test's starting settings of a document's design, put in place as opening a file puts them:
// announced, and no step of the history; and the recorded edits of the card's size, outline and
// pages.
#pragma once

#include "model/SKTDocument.h"

namespace testsupport
{

template <typename Write> void arrangeSettings(SKTDocument &document, Write write)
{
    DesignSettings settings = document.design().settings();
    write(settings);
    document.putSettingsUnrecorded(settings);
}

// The recorded edits a user makes of the card's size, outline and a page, each a step of its own
// (or part of the edit step in progress), as the card page makes them.
inline void setCardSize(SKTDocument &document, const QSizeF &size)
{
    document.changeSettingsRecorded(QStringLiteral("Card Size"), SKTDocument::Front,
                                    [&size](DesignSettings &s) { s.setCardSize(size); });
}
inline void setOutline(SKTDocument &document, int outline)
{
    document.changeSettingsRecorded(QStringLiteral("Card Shape"), SKTDocument::Front,
                                    [outline](DesignSettings &s) { s.setOutline(outline); });
}
inline void setPage(SKTDocument &document, int side, const Card_Property &page)
{
    document.changeSettingsRecorded(QStringLiteral("Card Page"), side,
                                    [side, &page](DesignSettings &s) { s.page(side) = page; });
}

} // namespace testsupport
