// The program's name as users see it: in titles, in test mails and in the files it writes.
// Core, so that every window folder may name the program without reaching the main window.
#pragma once

#include <QString>

namespace AppIdentity
{
inline const QString DisplayName = QStringLiteral("Tessaly Greeting Designer");
} // namespace AppIdentity
