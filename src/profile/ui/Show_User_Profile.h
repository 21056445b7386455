// The personal-details dialog the editor opens for the side being edited: the dialog of the wizards
// plus a check box before each of the ten text details' values.
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

    QLabel *captionLabel(int field) const { return m_caption[size_t(field)]; }
    QCheckBox *valueBox(int field) const { return m_valueBox[size_t(field)]; }

    QCheckBox *name_value_chk = nullptr, *title_value_chk = nullptr, *comp_name_value_chk = nullptr,
              *slogan_value_chk = nullptr, *address_value_chk = nullptr, *phone_value_chk = nullptr,
              *fax_value_chk = nullptr, *email_value_chk = nullptr, *website_value_chk = nullptr,
              *unique_value_chk = nullptr;

    // A value box was clicked: its field is editable while the box is ticked.
    void valueCheckClicked(int field);

protected:
    void valueLoaded(int field) override;

private:
    void makeCaptionRow(int field);
    void nameCaptionOutlets();

    std::array<QCheckBox *, TextFieldCount> m_valueBox{};
};
