// The progress sheet of a batch run (export or mail): the item count, the item in progress over
// the count, a bar, the pause line of a mail run and Stop, which holds the run while it asks
// whether to stop, then sets the flag or lets the run go on.
#pragma once

#include <QDialog>
#include <QPointer>

class ExportProgress;
class QLabel;
class QProgressBar;
class QPushButton;

class Send_Modeless : public QDialog
{
    Q_OBJECT
public:
    explicit Send_Modeless(QWidget *parent = nullptr);

    // The most recently made sheet (null once it is gone).
    static Send_Modeless *defaultInstance();

    static inline const QString StopButtonText = QStringLiteral("&Stop");
    static inline const QString ContinueButtonText = QStringLiteral("&Continue");

    // What the sheet says of its run: the item in progress over the count ("%1 / %2 Card"), and
    // the Stop question in the run's own verb ("Stop sending?") with what Stop does.
    struct RunTexts {
        QString countFormat;
        QString stopQuestion;
        QString stopEffect;
    };

    // Start of a run of itemCount items: Stop enabled, the bar 0..itemCount at 0, the count texts
    // ("%d" and the count format with 0 and the count).
    void prepare(ExportProgress *progress, int itemCount, const RunTexts &texts);

    // The refresh: the bar and "%d / %d " from the run's counters.
    void update_sending_progress_bar();

    // Stop: the run is paused while the question is open (a modal box asking the run's Stop
    // question, with the buttons "Stop" and "Continue", object names "stop_answer" and
    // "continue_answer"). "Stop" sets the run's
    // stop flag and emits stopConfirmed (the default button); "Continue", Escape or closing the
    // box lets the run go on.
    void Stop_Sending_Pressed();

    QLabel *_tot_msg_cnt = nullptr;
    QLabel *_curr_msg_cnt = nullptr;
    QProgressBar *_Curr_Progress = nullptr;
    QPushButton *_stop_btn = nullptr;
    QLabel *pause_label = nullptr;

signals:
    void stopConfirmed();

public slots:
    // The sheet closes only when its run ends: Escape and the close button do nothing.
    void reject() override {}

private:
    ExportProgress *m_progress = nullptr;
    RunTexts m_texts;
};
