// Runs every window that works modally. The program calls exec(); tests install a handler that
// drives the dialog as a user would and returns its result code.
#pragma once

#include <functional>

class QDialog;

class ModalRunner
{
public:
    using Handler = std::function<int(QDialog &)>;

    // The dialog's result: 1 for OK, 0 for Cancel unless the dialog says otherwise.
    static int exec(QDialog &dialog);
    // An empty handler restores the real modal run.
    static void setHandler(Handler handler);
    static bool hasHandler();
};
