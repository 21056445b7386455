// The picture library: one picture chosen from the shipped categories ("C") or from the
// background pictures (any other mode). OK answers 1 with the path in selected_image.
#pragma once

#include <QDialog>

class FloatSlider;
class ImageBrowser;
class ImageBrowserModel;
class QComboBox;
class QLabel;
class QPushButton;

class Image_Library : public QDialog
{
    Q_OBJECT
public:
    explicit Image_Library(QWidget *parent = nullptr);

    static inline const QString SelectImageMessage = QStringLiteral("Please select image.");
    static constexpr double DefaultZoom = 0.4;

    // Prepares the window for control_or_BG and runs it; 1 after OK with an existing picture,
    // 0 after Cancel.
    int Open_Library_Window();

    void Fill_Combobox();
    void Load_and_fill_backgrounds();
    void addImageWithPath(const QString &path, const QString &imageName, const QString &image_UID);

    void OK_Clicked();
    void Cancel_Clicked();
    void zoomSliderDidChange(double value);
    void comboBoxSelectionDidChange();
    void imageBrowserSelectionDidChange();

    // "C" for the picture categories; anything else lists the backgrounds.
    QString control_or_BG = QStringLiteral("C");
    // The picture last selected; kept from one opening to the next, "" after Cancel.
    QString selected_image;

    ImageBrowserModel *images = nullptr;
    ImageBrowser *imageBrowser = nullptr;
    FloatSlider *_zoom_slider = nullptr;
    QLabel *_zoom_label = nullptr;
    QComboBox *cat_cmbo_bx = nullptr;
    QLabel *category_label = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

public slots:
    // Escape and the close button cancel.
    void reject() override { Cancel_Clicked(); }

private:
    void loadFolder(const QString &folder);
};
