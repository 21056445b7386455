// The picture library: one picture chosen from the shipped categories or from the background
// pictures. OK hands back the path of the picture chosen.
#pragma once

#include "foundation/WindowRegistry.h"

#include <QDialog>

#include <optional>

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

    using Shelf = WindowRegistry::PictureShelf;

    // Runs the window on shelf; the path of the picture chosen with OK, nothing after Cancel.
    std::optional<QString> choosePicture(Shelf shelf);
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

    // The pictures the window lists.
    Shelf control_or_BG = Shelf::Pictures;
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
