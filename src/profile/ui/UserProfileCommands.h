// The main window's share of the personal details: opening the dialog that suits the caller,
// laying a side's record onto its canvas, and the preview side's copies. Fills the window entries.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

class ProfileHost;
class User_profile;
class WindowRegistry;

class UserProfileCommands
{
public:
    explicit UserProfileCommands(ProfileHost &host) : m_host(host) {}

    static void fillRegistry(ProfileHost &host, WindowRegistry &registry);

    // A side (trimmed) opens the editor's dialog in the loading mode when flag is set; no side
    // opens the wizards' dialog. 1 after OK, which also sets Fill_User_Profile.
    int Open_User_Profile_Window(qint8 flag, const QString &load_side);
    // A new design starts without personal details: the sides' records are not placed until a
    // dialog is accepted again.
    static void forgetAcceptedDetails();
    // Lays the side's record (0 front, 1 back, 2 preview) onto its canvas.
    void Fill_User_profile_info_side(int side);
    QRectF Get_Control_Rect_From_Template(const QString &ctrl_ID) const;
    // The preview side gets copies of the objects of the side being edited.
    void Temp_Design_Copy_Assign();

    // The two dialogs, made on first use and kept by the window's registry.
    User_profile *dialog(bool editorTime) const;

private:
    QSizeF frontCardSize() const;

    ProfileHost &m_host;
};
