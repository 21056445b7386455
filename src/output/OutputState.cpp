#include "output/OutputState.h"

OutputState &OutputState::instance()
{
    static OutputState state;
    return state;
}

QString OutputState::Export_File_Path() const
{
    std::lock_guard lock(m_mutex);
    return m_exportFilePath;
}

QString OutputState::Export_File_Message() const
{
    std::lock_guard lock(m_mutex);
    return m_exportFileMessage;
}

void OutputState::setExportFile(const QString &path, const QString &message)
{
    std::lock_guard lock(m_mutex);
    m_exportFilePath = path;
    m_exportFileMessage = message;
}
