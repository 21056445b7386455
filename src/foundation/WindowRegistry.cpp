#include "foundation/WindowRegistry.h"

void WindowRegistry::fill(Window window, Opener opener)
{
    if (!opener) {
        m_openers.remove(int(window));
    } else {
        m_openers.insert(int(window), std::move(opener));
    }
    emit entryFilled(window);
}

int WindowRegistry::open(Window window, const QString &argument, int fallback)
{
    const auto it = m_openers.constFind(int(window));
    if (it == m_openers.constEnd())
        return fallback;
    const Opener opener = it.value(); // a copy: the opener may refill its own entry
    return opener(argument);
}
