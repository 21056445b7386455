#include "foundation/ui/Long_SMS_Dlg.h"

#include "foundation/FoundationState.h"
#include "foundation/ui/ModalRunner.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

Long_SMS_Dlg *Long_SMS_Dlg::defaultInstance()
{
    // Lives to the end of the program, like the other dialog singletons.
    static QPointer<Long_SMS_Dlg> instance;
    if (!instance)
        instance = new Long_SMS_Dlg();
    return instance;
}

Long_SMS_Dlg::Long_SMS_Dlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Message"));
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgbF(241 / 255.0, 244 / 255.0, 250 / 255.0, 1.0));
    setPalette(pal);
    setAutoFillBackground(true);

    _Msg_Title = new QLabel(this);
    QFont titleFont = _Msg_Title->font();
    titleFont.setBold(true);
    _Msg_Title->setFont(titleFont);
    _Msg_Title->setWordWrap(true);

    _Msg_Val = new QPlainTextEdit(this);
    _Msg_Val->setReadOnly(true);
    _Msg_Val->setTabChangesFocus(true);
    _Msg_Val->setMinimumSize(420, 180);

    apply_chk = new QCheckBox(QStringLiteral("&Apply to all"), this);
    // Every button carries a mnemonic, as the other message boxes' do.
    ok_button = new QPushButton(QStringLiteral("&OK"), this);
    ok_button->setDefault(true);
    no_button = new QPushButton(QStringLiteral("&No"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(apply_chk);
    buttons->addStretch(1);
    buttons->addWidget(no_button);
    buttons->addWidget(ok_button);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(_Msg_Title);
    layout->addWidget(_Msg_Val, 1);
    layout->addLayout(buttons);

    connect(ok_button, &QPushButton::clicked, this, &Long_SMS_Dlg::OKPressed);
    connect(no_button, &QPushButton::clicked, this, &Long_SMS_Dlg::CancelPressed);
}

int Long_SMS_Dlg::Open_Long_sms_Dialog()
{
    return run(title_val, msg_val_str, true);
}

int Long_SMS_Dlg::showInformation(const QString &title, const QString &message)
{
    return run(title, message, false);
}

int Long_SMS_Dlg::run(const QString &title, const QString &message, bool question)
{
    _Msg_Title->setText(title);
    _Msg_Val->setPlainText(message);
    no_button->setVisible(question);
    // Each opening asks afresh: an earlier tick must not answer for this question.
    apply_chk->setChecked(false);
    apply_chk->setVisible(question && apply_chk_show);
    ok_button->setText(question ? QStringLiteral("&Yes") : QStringLiteral("&OK"));
    // Its questions offer to replace: a stray Return answers No and keeps what is there.
    ok_button->setDefault(!question);
    no_button->setDefault(question);

    const int code = ModalRunner::exec(*this);

    hide();
    title_val = QString();
    msg_val_str = QString();
    apply_chk_show = false;
    return code;
}

bool Long_SMS_Dlg::applyToAllTicked()
{
    return (Msg_Apply_All_Chk.load() & 1) != 0;
}

void Long_SMS_Dlg::clearApplyToAll()
{
    Msg_Apply_All_Chk = 0;
}

void Long_SMS_Dlg::OKPressed()
{
    Msg_Apply_All_Chk = apply_chk->isChecked() ? 1 : 0;
    done(1);
}

void Long_SMS_Dlg::CancelPressed()
{
    done(0);
}
