#include "output/ui/Send_Modeless.h"

#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"
#include "output/ExportProgress.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace
{
QPointer<Send_Modeless> g_default;
}

Send_Modeless::Send_Modeless(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Send_Models_Window"));
    setWindowTitle(QStringLiteral("Progress"));
    WindowLook::applyBackground(this);
    _tot_msg_cnt = new QLabel(QStringLiteral("0"), this);
    _tot_msg_cnt->setObjectName(QStringLiteral("_tot_msg_cnt"));
    _curr_msg_cnt = new QLabel(this);
    _curr_msg_cnt->setObjectName(QStringLiteral("_curr_msg_cnt"));
    _Curr_Progress = new QProgressBar(this);
    _Curr_Progress->setObjectName(QStringLiteral("_Curr_Progress"));
    _Curr_Progress->setTextVisible(false);
    _stop_btn = new QPushButton(QStringLiteral("Stop"), this);
    _stop_btn->setObjectName(QStringLiteral("_stop_btn"));
    _stop_btn->setAutoDefault(false);
    pause_label = new QLabel(this);
    pause_label->setObjectName(QStringLiteral("pause_label"));

    auto *counts = new QFormLayout;
    counts->addRow(QStringLiteral("Total:"), _tot_msg_cnt);
    counts->addRow(QStringLiteral("In progress:"), _curr_msg_cnt);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(pause_label, 1);
    buttons->addWidget(_stop_btn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(counts);
    layout->addWidget(_Curr_Progress);
    layout->addLayout(buttons);
    resize(380, 140);

    connect(_stop_btn, &QPushButton::clicked, this, &Send_Modeless::Stop_Sending_Pressed);
    g_default = this;
}

Send_Modeless *Send_Modeless::defaultInstance()
{
    return g_default;
}

void Send_Modeless::prepare(ExportProgress *progress, int itemCount, const RunTexts &texts)
{
    m_progress = progress;
    m_texts = texts;
    _stop_btn->setEnabled(true);
    _Curr_Progress->setRange(0, std::max(0, itemCount));
    _Curr_Progress->setValue(0);
    _tot_msg_cnt->setText(QString::number(itemCount));
    _curr_msg_cnt->setText(texts.countFormat.arg(0).arg(itemCount));
    pause_label->clear();
}

void Send_Modeless::update_sending_progress_bar()
{
    if (!m_progress)
        return;
    const int current = int(m_progress->curr_barcode_count.load());
    const int total = m_progress->list_count.load();
    _Curr_Progress->setValue(std::clamp(current, 0, std::max(0, total)));
    _curr_msg_cnt->setText(QStringLiteral("%1 / %2 ").arg(current).arg(total));
}

void Send_Modeless::Stop_Sending_Pressed()
{
    // Nothing more goes out while the user reads the question: the answer decides whether it does.
    if (m_progress)
        m_progress->pause();
    QMessageBox box(this);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(m_texts.stopQuestion);
    box.setInformativeText(m_texts.stopEffect);
    QPushButton *stop = box.addButton(StopButtonText, QMessageBox::DestructiveRole);
    stop->setObjectName(QStringLiteral("stop_answer"));
    QPushButton *goOn = box.addButton(ContinueButtonText, QMessageBox::RejectRole);
    goOn->setObjectName(QStringLiteral("continue_answer"));
    // Return stops and Escape goes on, as Yes and No did.
    box.setDefaultButton(stop);
    box.setEscapeButton(goOn);
    // A message box is as wide as its text, and this short question cut the program's name in
    // the title bar: a row as wide as the whole title keeps it whole.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(
            new QSpacerItem(WindowLook::titleBarWidth(&box), 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
            grid->rowCount(), 0, 1, grid->columnCount());
    ModalRunner::exec(box);
    const bool stopping = box.clickedButton() == stop;
    if (m_progress) {
        if (stopping)
            m_progress->requestStop();
        m_progress->resume();
    }
    if (stopping) {
        _stop_btn->setEnabled(false); // once is enough
        emit stopConfirmed();
    }
}
