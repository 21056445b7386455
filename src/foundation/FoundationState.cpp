#include "foundation/FoundationState.h"

FoundationState &FoundationState::instance()
{
    static FoundationState state;
    return state;
}

void FoundationState::reset()
{
    yes_no_msg_val = 0;
    Resource_Path.clear();
    Data_Folder_Path.clear();
    Msg_Apply_All_Chk = 0;
}

void FoundationState::setResourcePath(const QString &root)
{
    if (root.isEmpty()) {
        Resource_Path.clear();
        Data_Folder_Path.clear();
        return;
    }
    Resource_Path = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    Data_Folder_Path = Resource_Path + QStringLiteral("DataSet");
}

std::atomic<quint8> &yes_no_msg_val = FoundationState::instance().yes_no_msg_val;
const QString &Resource_Path = FoundationState::instance().Resource_Path;
const QString &Data_Folder_Path = FoundationState::instance().Data_Folder_Path;
std::atomic<quint8> &Msg_Apply_All_Chk = FoundationState::instance().Msg_Apply_All_Chk;
const QString &batch_file_EXT = FoundationState::instance().batch_file_EXT;
