// The template browser: previews of the built-in templates and of the user's own, with copy,
// rename and delete for the user's; OK names the chosen template's design file.
#pragma once

#include <QDialog>

#include <optional>

class Export_Template;
class ImageBrowser;
class ImageBrowserModel;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSlider;
class WindowRegistry;

class Template_Wizard : public QDialog
{
    Q_OBJECT
public:
    // registry (may be null) reaches the personal-details window.
    explicit Template_Wizard(WindowRegistry *registry = nullptr, QWidget *parent = nullptr);

    // The chosen preview while browsing; its design file after OK; "" after Cancel.
    static QString Selected_Template_Path;
    // Makes the identifiers of user templates unique for the whole run.
    static quint64 User_Defined_File;
    static inline const double DefaultZoom = 0.6;

    // Starts on the built-in list with the first picture chosen; 1 for OK, 0 for Cancel.
    int Open_Template_Window();
    // Runs the window: the design file of the template chosen with OK, nothing after Cancel.
    std::optional<QString> chooseTemplate();

    void OK_Click();
    void CancelClick();
    void Delete_Template_Click();
    void Copy_Templatee_Click();
    void Rename_Template_Click();
    void User_Profile_Click();
    void zoomSliderDidChange();
    void sourceChanged(int index); // the source combo: 0 built-in, else the user's
    void imageBrowserSelectionDidChange();

    void Fill_Templates();
    void Fill_Templates_User_Defined();
    void addImageWithPath(const QString &path, const QString &imageName, const QString &image_UID);
    void Show_Hide_Template_Buttons(bool show);
    double zoom() const;
    QString userFolder() const;

    QComboBox *cat_cmbo_bx = nullptr;
    QLabel *category_label = nullptr;
    ImageBrowser *imageBrowser = nullptr;
    ImageBrowserModel *images = nullptr;
    QSlider *_zoom_slider = nullptr;
    QLabel *_zoom_label = nullptr;
    QPushButton *Delete_temp_btn = nullptr;
    QPushButton *Copy_temp_btn = nullptr;
    QPushButton *Rename_temp_btn = nullptr;
    QPushButton *profile_button = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;
    Export_Template *nameDialog = nullptr;

private:
    // One maker per row, in the order the user tabs through.
    void buildWindow();
    QHBoxLayout *makeTopRow();
    QHBoxLayout *makeActionRow();
    void fillFrom(const QString &folder, bool user);
    // The chosen picture when it still exists, else "" after saying "Please select template.".
    QString chosenPicture();
    WindowRegistry *m_registry;
};
