#include "foundation/ui/ModalRunner.h"

#include <QDialog>

namespace
{
ModalRunner::Handler &modalHandler()
{
    static ModalRunner::Handler h;
    return h;
}
} // namespace

int ModalRunner::exec(QDialog &dialog)
{
    if (modalHandler()) {
        // A copy: the handler may replace itself while it runs.
        const Handler h = modalHandler();
        const int code = h(dialog);
        dialog.hide();
        return code;
    }
    return dialog.exec();
}

void ModalRunner::setHandler(Handler h)
{
    modalHandler() = std::move(h);
}

bool ModalRunner::hasHandler()
{
    return bool(modalHandler());
}
