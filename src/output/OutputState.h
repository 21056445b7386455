// Process-wide values of printing, export and mail, kept together under their names.
// The counters are atomic; the texts are guarded, since a worker sets them at the end of a run.
#pragma once

#include "output/ExportProgress.h"

#include <QString>

#include <atomic>
#include <mutex>

class OutputState
{
public:
    static OutputState &instance();

    ExportProgress progress; // Stop_SMS_Sending_Now, list_count, curr_barcode_count
    std::atomic<bool> Card_Value_In_Process{false};

    QString Export_File_Path() const;
    QString Export_File_Message() const;
    void setExportFile(const QString &path, const QString &message);

private:
    mutable std::mutex m_mutex;
    QString m_exportFilePath;
    QString m_exportFileMessage;
};
