// Where the mail window's controls sit: sender, recipients, subject and text; the card or a file
// instead; the pauses; Send and Close. Controls are made in the order a user tabs through them.
#include "output/ui/Send_Mail.h"

#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "foundation/ui/WindowLook.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using PanelWidgets::named;

void Send_Mail::buildWindow()
{
    QGridLayout *head = makeHeadGrid();
    rd_mail_curr_barcode =
        named(new QRadioButton(QStringLiteral("Send the card"), this), "rd_mail_curr_barcode");
    rd_without_barcode = named(new QRadioButton(QStringLiteral("Send a file instead of the card"), this),
                               "rd_without_barcode");
    auto *modes = new QButtonGroup(this);
    modes->addButton(rd_mail_curr_barcode);
    modes->addButton(rd_without_barcode);
    QGroupBox *cardBox = makeCardBox();
    QHBoxLayout *fileRow = makeFileRow();
    QGroupBox *pauseBox = makePauseBox();
    QHBoxLayout *buttons = WindowLook::okCancelRow(this, send_button, close_button);
    send_button->setText(QStringLiteral("&Send"));
    // Return does not send: a stray key after a run's end box would send the whole run again.
    send_button->setDefault(false);
    send_button->setAutoDefault(false);
    send_button->setObjectName(QStringLiteral("send_button"));
    close_button->setText(QStringLiteral("&Close"));
    close_button->setObjectName(QStringLiteral("close_button"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(rd_mail_curr_barcode);
    layout->addWidget(cardBox);
    layout->addWidget(rd_without_barcode);
    layout->addLayout(fileRow);
    layout->addWidget(delayed_delv_chk);
    layout->addWidget(pauseBox);
    layout->addLayout(buttons);
    resize(560, 600);
}

// From (with the mail settings beside it), To, Subject and the message, each with its label.
QGridLayout *Send_Mail::makeHeadGrid()
{
    from_txt = named(new QLineEdit(this), "from_txt");
    // Beside the sender, so it comes right after it: To, Subject and the message follow each other.
    setting_button = named(new QPushButton(QStringLiteral("Setti&ngs..."), this), "setting_button");
    setting_button->setAutoDefault(false);
    to_txt = named(new QLineEdit(this), "to_txt");
    to_txt->setPlaceholderText(QStringLiteral("Addresses separated by \",\""));
    // Far above a line edit's usual 32,767 characters, which cut a pasted list without a word.
    to_txt->setMaxLength(RecipientFieldChars);
    subject_txt = named(new QLineEdit(this), "subject_txt");
    message_txt = named(new QPlainTextEdit(this), "message_txt");
    message_txt->setTabChangesFocus(true);
    message_txt->setMinimumHeight(90);

    auto *head = new QGridLayout;
    auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    head->addWidget(label(QStringLiteral("&From:"), from_txt), 0, 0);
    head->addWidget(from_txt, 0, 1);
    head->addWidget(setting_button, 0, 2);
    head->addWidget(label(QStringLiteral("&To:"), to_txt), 1, 0);
    head->addWidget(to_txt, 1, 1, 1, 2);
    head->addWidget(label(QStringLiteral("S&ubject:"), subject_txt), 2, 0);
    head->addWidget(subject_txt, 2, 1, 1, 2);
    head->addWidget(label(QStringLiteral("M&essage:"), message_txt), 3, 0, Qt::AlignTop);
    head->addWidget(message_txt, 3, 1, 1, 2);
    return head;
}

// The card's settings: its file name, side, data rows and who gets which card.
QGroupBox *Send_Mail::makeCardBox()
{
    send_sett_box = named(new QGroupBox(QStringLiteral("Card"), this), "send_sett_box");
    file_name_txt = named(new QLineEdit(send_sett_box), "file_name_txt");
    QHBoxLayout *sides = makeSideRow(send_sett_box);
    send_with_batch_chk =
        named(new QCheckBox(QStringLiteral("Use series data"), send_sett_box), "send_with_batch_chk");
    send_with_excel_chk =
        named(new QCheckBox(QStringLiteral("Use Excel data"), send_sett_box), "send_with_excel_chk");
    rd_all_to_every = named(new QRadioButton(QStringLiteral("Every card to every recipient"), send_sett_box),
                            "rd_all_to_every");
    rd_one_per_recp =
        named(new QRadioButton(QStringLiteral("One card per recipient, in order"), send_sett_box),
              "rd_one_per_recp");
    auto *spread = new QButtonGroup(this);
    spread->addButton(rd_all_to_every);
    spread->addButton(rd_one_per_recp);

    auto *cardForm = new QFormLayout(send_sett_box);
    cardForm->addRow(new QLabel(QStringLiteral("File name:"), send_sett_box), file_name_txt);
    cardForm->addRow(new QLabel(QStringLiteral("Side:"), send_sett_box), sides);
    auto *data = new QHBoxLayout;
    data->addWidget(send_with_batch_chk);
    data->addWidget(send_with_excel_chk);
    data->addStretch();
    cardForm->addRow(new QLabel(QStringLiteral("Data:"), send_sett_box), data);
    auto *spreadColumn = new QVBoxLayout;
    spreadColumn->addWidget(rd_all_to_every);
    spreadColumn->addWidget(rd_one_per_recp);
    cardForm->addRow(new QLabel(QStringLiteral("Cards:"), send_sett_box), spreadColumn);
    return send_sett_box;
}

// Both sides, front or back: button ids 0, 1 and 2 of matrix_card_side.
QHBoxLayout *Send_Mail::makeSideRow(QWidget *box)
{
    matrix_card_side = new QButtonGroup(this);
    matrix_card_side->setObjectName(QStringLiteral("matrix_card_side"));
    auto *sides = new QHBoxLayout;
    const QStringList sideTitles{QStringLiteral("Both sides"), QStringLiteral("Front side"),
                                 QStringLiteral("Back side")};
    for (int i = 0; i < sideTitles.size(); ++i) {
        auto *radio = new QRadioButton(sideTitles[i], box);
        matrix_card_side->addButton(radio, i);
        sides->addWidget(radio);
    }
    sides->addStretch();
    return sides;
}

// The file sent without the card.
QHBoxLayout *Send_Mail::makeFileRow()
{
    attachment = named(new QLineEdit(this), "attachment");
    browse_att = named(new QPushButton(QStringLiteral("Browse..."), this), "browse_att");
    clear_att = named(new QPushButton(QStringLiteral("Clear"), this), "clear_att");
    browse_att->setAutoDefault(false);
    clear_att->setAutoDefault(false);
    auto *fileRow = new QHBoxLayout;
    fileRow->addSpacing(24);
    fileRow->addWidget(attachment, 1);
    fileRow->addWidget(browse_att);
    fileRow->addWidget(clear_att);
    return fileRow;
}

// Pauses between messages: the box that turns them on, then after how many and how long.
QGroupBox *Send_Mail::makePauseBox()
{
    delayed_delv_chk = named(new QCheckBox(QStringLiteral("Delayed delivery"), this), "delayed_delv_chk");
    delayed_box = named(new QGroupBox(QStringLiteral("Pause"), this), "delayed_box");
    mail_count_stepper = named(new StepperField(1, 100000, 1, 0, delayed_box), "mail_count_stepper");
    hour_stepper = named(new StepperField(0, 99, 1, 0, delayed_box), "hour_stepper");
    min_stepper = named(new StepperField(0, 59, 1, 0, delayed_box), "min_stepper");
    sec_stepper = named(new StepperField(0, 59, 1, 0, delayed_box), "sec_stepper");
    auto *pauseBox = new QVBoxLayout(delayed_box);
    auto *pauseRow = new QHBoxLayout;
    pauseBox->addLayout(pauseRow);
    pauseRow->addWidget(new QLabel(QStringLiteral("After every"), delayed_box));
    pauseRow->addWidget(mail_count_stepper);
    pauseRow->addWidget(new QLabel(QStringLiteral("messages, wait"), delayed_box));
    pauseRow->addWidget(hour_stepper);
    pauseRow->addWidget(new QLabel(QStringLiteral("h"), delayed_box));
    pauseRow->addWidget(min_stepper);
    pauseRow->addWidget(new QLabel(QStringLiteral("min"), delayed_box));
    pauseRow->addWidget(sec_stepper);
    pauseRow->addWidget(new QLabel(QStringLiteral("s"), delayed_box));
    pauseRow->addStretch();
    // The pause counts down from the time set and the next message goes at its last second, so a
    // second or less is no wait at all: said where the time is set.
    pause_hint = named(new QLabel(pauseHintText(), delayed_box), "pause_hint");
    pause_hint->setWordWrap(true);
    pauseBox->addWidget(pause_hint);
    return delayed_box;
}
