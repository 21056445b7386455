// Opening web addresses and files with the desktop's default application, through a hook that
// tests replace so that nothing is really opened.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class UrlOpener
{
public:
    using Hook = std::function<bool(const QUrl &)>;

    static bool open(const QUrl &url); // false when nothing could open it
    static bool openFile(const QString &path);

    // Replaces the desktop's opener; an empty hook restores it.
    static void setHook(Hook hook);
};
