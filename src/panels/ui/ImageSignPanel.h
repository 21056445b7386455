// The picture and signature panels: picture files from an open panel or the image library, border,
// flips, effects and adjustments, each written into the selected objects of the side being edited
// that have it; loading fills them from one picture or signature.
#pragma once

#include "panels/ui/ObjectPanel.h"

#include <memory>

class ImageTab;
class QLineEdit;
class QPushButton;
class QWidget;
class SignTab;
class SKTImage;

class ImageSignPanel : public ObjectPanel
{
    Q_OBJECT
public:
    // The picture-file controls go into fileBox (the data-source page's box, through its layout)
    // when given, else onto the picture page.
    explicit ImageSignPanel(InspectorHost &host, QWidget *fileBox = nullptr);
    ~ImageSignPanel() override;

    static QStringList pictureSuffixes();
    static inline const QString ResetQuestion = QStringLiteral("Are you sure you want to continue?");
    static inline const QString NotPngMessage = QStringLiteral("Please choose a PNG picture.");

    // A picture fills the picture page, a signature or fingerprint the signature page.
    void loadFrom(const SKTGraphic &graphic);

    // Picture file: an open panel. True when a file was chosen.
    bool Browse_User_Image_Manually();
    void Manual_Image_Browse_Btn();
    void Manual_Library_Browse_Btn();
    void Reset_Image_Editing_Controls();
    void Image_reset_Button();
    void Image_Border_ChkBox();
    void Sign_Browse_Btn();
    void Sign_Border_ChkBox();

    // The picture path the panel writes, shown in Manual_image_path.
    QString manualImagePath() const;
    void setManualImagePath(const QString &path);
    // The picture file of the selection: the current picture's, or, when the selected pictures
    // keep different files, none, the empty field saying how many are selected.
    void showPictureFile(const SKTGraphic &current);
    // Moves the picture-file controls into the data-source page's box (its layout).
    void attachManualControls(QWidget *box);

    QLineEdit *Manual_image_path;
    QPushButton *manual_browse_btn;
    QPushButton *manual_library_btn;

    ImageTab &imageTab() const { return *m_image; }
    SignTab &signTab() const { return *m_sign; }

private:
    void connectControls();
    // A picture chosen with Browse or the library: every selected picture of the live side loads
    // it, so each shows the file it keeps; other kinds of object are left alone. False when
    // the picture cannot be used: the user was told why, the objects and the path field keep what
    // they had (`previousPath`).
    bool loadIntoSelectedPictures(const QString &path, const QString &previousPath);
    // A picture just loaded is shown in its own proportions: its frame becomes the largest of
    // them within the frame it had, centred there.
    static void takePictureProportions(SKTImage &picture);
    // The same as one step over the selected pictures, which redraw once loaded.
    void choosePicture(const QString &path, const QString &previousPath);

    std::unique_ptr<ImageTab> m_image;
    std::unique_ptr<SignTab> m_sign;
    QWidget *m_manualRow;
    // The signature page shows a fingerprint (its file chooser says so).
    bool m_signIsFingerprint = false;
};
