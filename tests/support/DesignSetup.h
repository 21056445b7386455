// A test's starting settings of a document's design, put in place as opening a file puts them:
// announced, and no step of the history.
#pragma once

#include "model/SKTDocument.h"

namespace testsupport
{

template <typename Write> void arrangeSettings(SKTDocument &document, Write write)
{
    DesignSettings settings = document.design().settings();
    write(settings);
    document.putSettings(settings);
}

} // namespace testsupport
