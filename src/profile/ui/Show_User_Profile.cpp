#include "profile/ui/Show_User_Profile.h"

#include "profile/User_Profile_Class.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace
{
void untick(QCheckBox *box)
{
    box->setCheckState(Qt::Unchecked);
}
} // namespace

Show_User_Profile::Show_User_Profile(ProfileHost &host, QWidget *parent) : User_profile(host, parent, true)
{
    for (int f = 0; f < TextFieldCount; ++f)
        makeCaptionRow(f);
    nameCaptionOutlets();
    Reset_all_Ctrl();
}

// A text detail's value box before its value. The caption stays a plain label: captions are not
// part of what the dialog gives back, so nothing there can be ticked or typed.
void Show_User_Profile::makeCaptionRow(int f)
{
    const QString stem = QString::fromLatin1(FieldStems[size_t(f)]);
    auto *valueBox = new QCheckBox(this);
    valueBox->setObjectName(stem + QStringLiteral("_value_chk"));
    valueBox->setToolTip(QStringLiteral("Value"));
    m_grid->addWidget(valueBox, f + 1, 2);
    // Made after the dialog's own controls, the box would come last in Tab order, after Cancel: it
    // goes in before the row's value, as it stands on the screen.
    QWidget *before = valueField(f)->previousInFocusChain();
    while (before != this && !(before->focusPolicy() & Qt::TabFocus))
        before = before->previousInFocusChain();
    QWidget::setTabOrder(before, valueBox);
    m_valueBox[size_t(f)] = valueBox;
    connect(valueBox, &QCheckBox::clicked, this, [this, f] { valueCheckClicked(f); });
    // Typing ticks the field's box; the field's editability stays as it is.
    connect(valueField(f), &QLineEdit::textEdited, valueBox, [valueBox] { valueBox->setChecked(true); });
}

void Show_User_Profile::nameCaptionOutlets()
{
    name_value_chk = m_valueBox[0], title_value_chk = m_valueBox[1], comp_name_value_chk = m_valueBox[2];
    slogan_value_chk = m_valueBox[3], address_value_chk = m_valueBox[4], phone_value_chk = m_valueBox[5];
    fax_value_chk = m_valueBox[6], email_value_chk = m_valueBox[7], website_value_chk = m_valueBox[8];
    unique_value_chk = m_valueBox[9];
}

void Show_User_Profile::valueCheckClicked(int field)
{
    valueField(field)->setReadOnly(!m_valueBox[size_t(field)]->isChecked());
}

void Show_User_Profile::valueLoaded(int field)
{
    if (field >= 0 && field < TextFieldCount)
        m_valueBox[size_t(field)]->setCheckState(Qt::Checked);
}

void Show_User_Profile::Reset_all_Ctrl()
{
    Preivew_picture->clear();
    Set_User_Image(QString());
    for (QCheckBox *box : m_valueBox)
        untick(box);
    for (int f = 0; f < TextFieldCount; ++f)
        valueField(f)->clear();
    for (int f = 0; f < FieldCount; ++f) {
        QComboBox *source = sourceList(f);
        {
            const QSignalBlocker block(source);
            source->setCurrentIndex(0);
        }
        comboBoxSelectionDidChange(source);
    }
    for (int f = 0; f < FieldCount; ++f) {
        const QSignalBlocker block(seriesList(f));
        seriesList(f)->setCurrentIndex(-1);
    }
}

void Show_User_Profile::Create_and_Set_template_picture()
{
    showCardPicture(Preivew_picture, Graphics_array);
}
