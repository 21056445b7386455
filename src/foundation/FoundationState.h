// The process-wide values of the application foundation, kept in one object so tests can reset
// them; each is also reachable under its own name (Resource_Path, yes_no_msg_val, ...).
#pragma once

#include "foundation/DataRoot.h"

#include <QString>

#include <atomic>

class FoundationState
{
public:
    static FoundationState &instance();
    void reset(); // back to the values at program start (tests)

    // Answer of the most recent Yes/No box; 1 means Yes. Only bit 0 counts.
    std::atomic<quint8> yes_no_msg_val{0};
    // The data root (per-user, writable), with a trailing "/"; empty until set up.
    QString Resource_Path;
    // Resource_Path + "DataSet": the folder of the series files.
    QString Data_Folder_Path;
    // The apply-to-all tick of the long-message dialog at its last OK (1 ticked, 0 not).
    std::atomic<quint8> Msg_Apply_All_Chk{0};
    // Extension of the series files; never changes.
    const QString batch_file_EXT = QStringLiteral("txt");

    // Sets Resource_Path (a trailing "/" is added) and Data_Folder_Path together.
    void setResourcePath(const QString &root);

private:
    FoundationState() = default;
};

extern std::atomic<quint8> &yes_no_msg_val;
extern std::atomic<quint8> &Msg_Apply_All_Chk;
