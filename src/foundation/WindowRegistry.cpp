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

bool WindowRegistry::isFilled(Window window) const
{
    if (window == Window::ImageLibrary)
        return bool(m_pictureChooser);
    if (window == Window::GreetingText)
        return bool(m_greetingChooser);
    if (window == Window::ExportedFiles)
        return bool(m_exportedFiles);
    return m_openers.contains(int(window));
}

void WindowRegistry::fillPictureChooser(PictureChooser chooser)
{
    m_pictureChooser = std::move(chooser);
    emit entryFilled(Window::ImageLibrary);
}

void WindowRegistry::fillGreetingChooser(GreetingChooser chooser)
{
    m_greetingChooser = std::move(chooser);
    emit entryFilled(Window::GreetingText);
}

std::optional<QString> WindowRegistry::choosePicture(PictureShelf shelf) const
{
    const PictureChooser chooser = m_pictureChooser; // a copy: the window may refill its entry
    return chooser ? chooser(shelf) : std::nullopt;
}

std::optional<QString> WindowRegistry::chooseGreetingText(GreetingKind kind) const
{
    const GreetingChooser chooser = m_greetingChooser;
    return chooser ? chooser(kind) : std::nullopt;
}

void WindowRegistry::fillExportedFiles(ExportedFilesShower shower)
{
    m_exportedFiles = std::move(shower);
    emit entryFilled(Window::ExportedFiles);
}

int WindowRegistry::showExportedFiles(const QString &path, const QString &message) const
{
    const ExportedFilesShower shower = m_exportedFiles;
    return shower ? shower(path, message) : 0;
}
