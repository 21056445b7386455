// The exported-files dialog: says what was written and where, and on OK opens the file (or its
// folder) when the box is ticked. Export, template export and the series manager show it.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class WindowRegistry;

class Open_Export_Log : public QDialog
{
    Q_OBJECT
public:
    explicit Open_Export_Log(QWidget *parent = nullptr);

    static inline const QString OpenFolderTitle = QStringLiteral("Open containing folder.");
    static inline const QString OpenFileTitle = QStringLiteral("Open exported file.");
    // Said when the desktop has nothing to open the file or folder with; names the place.
    static QString notOpenedText(const QString &path);

    // Fills the dialog from Export_File_Path and Export_File_Message and runs it modally.
    // GUI thread only: workers ask for it through a blocking queued call.
    int Open_Export_File_Box();
    // Fills the registry's exported-files entry: the dialog over the window in front (a modal
    // dialog such as the series manager) or else over owner, showing the path and message given,
    // which become the last export's.
    static void fillRegistry(WindowRegistry &registry, QWidget *owner);

    void OKPressed();
    void CancelPressed();

    QCheckBox *_open_log_chk = nullptr;
    QLabel *_open_log_path = nullptr;
    QLabel *_open_log_message = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;
};
