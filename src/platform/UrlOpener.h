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
    using Failed = std::function<void()>;

    // How long after it started an opener's failure still counts. xdg-open gives up within a
    // second when nothing takes the address; one that started a browser in the foreground keeps
    // running as long as the browser, and how that browser ends later says nothing of the link.
    static constexpr int FailureWindowMs = 10000;

    // Hands the address to xdg-open (Qt's own opener where there is none) without waiting for
    // it: false at once when no opener could be started. An opener that starts and then exits
    // with a failure within FailureWindowMs calls `failed` on the GUI thread, unless the program
    // it ran for the address was seen running: a viewer the user ends may end in failure, and
    // xdg-open then answers with its status.
    static bool open(const QUrl &url, Failed failed = {});
    static bool openFile(const QString &path, Failed failed = {});
    // Openers started and not ended yet (each is waited for, so none is left a zombie).
    static int runningOpeners();
    // Those of them whose program for the address has been seen running.
    static int openersShowing();

    // Replaces the desktop's opener; an empty hook restores it.
    static void setHook(Hook hook);
};
