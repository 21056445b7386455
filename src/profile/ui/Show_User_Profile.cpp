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

// A text detail's caption box, caption field and value box, in place of its plain caption.
void Show_User_Profile::makeCaptionRow(int f)
{
    const QString stem = QString::fromLatin1(FieldStems[size_t(f)]);
    const int row = f + 1;
    auto *captionBox = new QCheckBox(this);
    captionBox->setObjectName(stem + QStringLiteral("_label_chk"));
    captionBox->setToolTip(QStringLiteral("Caption"));
    auto *caption = new QLineEdit(QString::fromLatin1(User_Profile_Class::info()[size_t(f)].caption), this);
    caption->setObjectName(stem + QStringLiteral("_label"));
    caption->setMinimumWidth(caption->fontMetrics().horizontalAdvance(QStringLiteral("Company Slogan : ")) +
                             12);
    auto *valueBox = new QCheckBox(this);
    valueBox->setObjectName(stem + QStringLiteral("_value_chk"));
    valueBox->setToolTip(QStringLiteral("Value"));
    // The caption becomes a field of its own in place of the plain label.
    m_caption[size_t(f)]->hide();
    m_grid->addWidget(captionBox, row, 0);
    m_grid->addWidget(caption, row, 1);
    m_grid->addWidget(valueBox, row, 2);
    // Made after the dialog's own controls, the three would come last in Tab order, after Cancel:
    // they go in before the row's value, as they stand on the screen.
    QWidget *before = valueField(f)->previousInFocusChain();
    while (before != this && !(before->focusPolicy() & Qt::TabFocus))
        before = before->previousInFocusChain();
    QWidget::setTabOrder(before, captionBox);
    QWidget::setTabOrder(captionBox, caption);
    QWidget::setTabOrder(caption, valueBox);
    m_captionField[size_t(f)] = caption;
    m_captionBox[size_t(f)] = captionBox;
    m_valueBox[size_t(f)] = valueBox;
    connect(captionBox, &QCheckBox::clicked, this, [this, f] { labelCheckClicked(f); });
    connect(valueBox, &QCheckBox::clicked, this, [this, f] { valueCheckClicked(f); });
    // Typing ticks the field's box; the field's editability stays as it is.
    connect(caption, &QLineEdit::textEdited, captionBox, [captionBox] { captionBox->setChecked(true); });
    connect(valueField(f), &QLineEdit::textEdited, valueBox, [valueBox] { valueBox->setChecked(true); });
}

void Show_User_Profile::nameCaptionOutlets()
{
    name_label = m_captionField[0], title_label = m_captionField[1], comp_name_label = m_captionField[2];
    slogan_label = m_captionField[3], address_label = m_captionField[4], phone_label = m_captionField[5];
    fax_label = m_captionField[6], email_label = m_captionField[7], website_label = m_captionField[8];
    unique_label = m_captionField[9];
    name_label_chk = m_captionBox[0], title_label_chk = m_captionBox[1],
    comp_name_label_chk = m_captionBox[2];
    slogan_label_chk = m_captionBox[3], address_label_chk = m_captionBox[4],
    phone_label_chk = m_captionBox[5];
    fax_label_chk = m_captionBox[6], email_label_chk = m_captionBox[7], website_label_chk = m_captionBox[8];
    unique_label_chk = m_captionBox[9];
    name_value_chk = m_valueBox[0], title_value_chk = m_valueBox[1], comp_name_value_chk = m_valueBox[2];
    slogan_value_chk = m_valueBox[3], address_value_chk = m_valueBox[4], phone_value_chk = m_valueBox[5];
    fax_value_chk = m_valueBox[6], email_value_chk = m_valueBox[7], website_value_chk = m_valueBox[8];
    unique_value_chk = m_valueBox[9];
}

void Show_User_Profile::labelCheckClicked(int field)
{
    m_captionField[size_t(field)]->setReadOnly(!m_captionBox[size_t(field)]->isChecked());
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
    for (QCheckBox *box : m_captionBox)
        untick(box);
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
