// The personal-details dialog the editor opens for the side being edited: the dialog of the wizards
// plus an editable caption and two check boxes (caption, value) for each of the ten text details.
#pragma once

#include "profile/ui/User_profile.h"

class QCheckBox;

class Show_User_Profile : public User_profile
{
    Q_OBJECT
public:
    static constexpr int TextFieldCount = 10;

    explicit Show_User_Profile(ProfileHost &host, QWidget *parent = nullptr);

    void Reset_all_Ctrl() override;
    void Create_and_Set_template_picture() override;

    QLineEdit *captionField(int field) const { return m_captionField[size_t(field)]; }
    QCheckBox *captionBox(int field) const { return m_captionBox[size_t(field)]; }
    QCheckBox *valueBox(int field) const { return m_valueBox[size_t(field)]; }

    QLineEdit *name_label = nullptr, *title_label = nullptr, *comp_name_label = nullptr,
              *slogan_label = nullptr, *address_label = nullptr, *phone_label = nullptr, *fax_label = nullptr,
              *email_label = nullptr, *website_label = nullptr, *unique_label = nullptr;
    QCheckBox *name_label_chk = nullptr, *title_label_chk = nullptr, *comp_name_label_chk = nullptr,
              *slogan_label_chk = nullptr, *address_label_chk = nullptr, *phone_label_chk = nullptr,
              *fax_label_chk = nullptr, *email_label_chk = nullptr, *website_label_chk = nullptr,
              *unique_label_chk = nullptr;
    QCheckBox *name_value_chk = nullptr, *title_value_chk = nullptr, *comp_name_value_chk = nullptr,
              *slogan_value_chk = nullptr, *address_value_chk = nullptr, *phone_value_chk = nullptr,
              *fax_value_chk = nullptr, *email_value_chk = nullptr, *website_value_chk = nullptr,
              *unique_value_chk = nullptr;

    // A caption or value box was clicked: its field is editable while the box is ticked.
    void labelCheckClicked(int field);
    void valueCheckClicked(int field);

protected:
    void valueLoaded(int field) override;

private:
    void makeCaptionRow(int field);
    void nameCaptionOutlets();

    std::array<QLineEdit *, TextFieldCount> m_captionField{};
    std::array<QCheckBox *, TextFieldCount> m_captionBox{};
    std::array<QCheckBox *, TextFieldCount> m_valueBox{};
};
