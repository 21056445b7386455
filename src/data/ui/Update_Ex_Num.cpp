#include "data/ui/Update_Ex_Num.h"

#include "data/SeriesValueModel.h"
#include "data/ui/BatchWizard.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Update_Ex_Num::Update_Ex_Num(BatchWizard *manager, QWidget *parent) : QDialog(parent), m_manager(manager)
{
    setObjectName(QStringLiteral("Update_Value_Wnd"));
    setWindowTitle(QStringLiteral("Edit Value"));
    WindowLook::fitTitle(this);
    WindowLook::applyBackground(this);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_ex_num_index = new QLineEdit(this);
    m_ex_num_index->setObjectName(QStringLiteral("m_ex_num_index"));
    m_ex_num_index->setReadOnly(true);
    m_ex_num_str = new QLineEdit(this);
    m_ex_num_str->setObjectName(QStringLiteral("m_ex_num_str"));
    m_ex_num_str->setMinimumWidth(260);
    m_s_number = new QLineEdit(this);
    m_s_number->setObjectName(QStringLiteral("m_s_number"));
    m_s_number->hide();
    form->addRow(QStringLiteral("Row:"), m_ex_num_index);
    form->addRow(QStringLiteral("Value:"), m_ex_num_str);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    ok_button->setDefault(true);
    buttons->addWidget(cancel_button);
    buttons->addWidget(ok_button);
    layout->addLayout(buttons);
    connect(ok_button, &QPushButton::clicked, this, &Update_Ex_Num::OKPressed);
    connect(cancel_button, &QPushButton::clicked, this, &Update_Ex_Num::CancelPressed);
}

int Update_Ex_Num::Open_Wnd(int row, const QString &value)
{
    m_row = row;
    // Numbered from 1, as the list shows its rows to the user.
    m_ex_num_index->setText(QString::number(row + 1));
    m_ex_num_str->setText(value);
    m_s_number->setText(value);
    m_ex_num_str->setFocus();
    const int result = ModalRunner::exec(*this);
    hide();
    return result;
}

void Update_Ex_Num::OKPressed()
{
    if (m_s_number->text() == m_ex_num_str->text()) {
        done(1);
        return;
    }
    const QString value = Trim_Str(m_ex_num_str->text());
    if (value.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter a valid value."));
        m_ex_num_str->setFocus();
        return;
    }
    SeriesValueModel *rows = m_manager ? m_manager->ListData_value : nullptr;
    // The list may have changed under the dialog; a row it no longer has is not written.
    if (!rows || !rows->setValue(m_row, value)) {
        clearFields();
        done(0);
        return;
    }
    clearFields();
    done(1);
}

void Update_Ex_Num::CancelPressed()
{
    clearFields();
    done(0);
}

void Update_Ex_Num::clearFields()
{
    m_ex_num_index->clear();
    m_ex_num_str->clear();
    m_s_number->clear();
    m_row = -1;
}
