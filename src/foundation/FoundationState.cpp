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
    Cutom_Msg_Title.clear();
    Cutom_Msg_Val.clear();
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
QString &Resource_Path = FoundationState::instance().Resource_Path;
QString &Data_Folder_Path = FoundationState::instance().Data_Folder_Path;
QString &Cutom_Msg_Title = FoundationState::instance().Cutom_Msg_Title;
QString &Cutom_Msg_Val = FoundationState::instance().Cutom_Msg_Val;
std::atomic<quint8> &Msg_Apply_All_Chk = FoundationState::instance().Msg_Apply_All_Chk;
const QString &batch_file_EXT = FoundationState::instance().batch_file_EXT;
