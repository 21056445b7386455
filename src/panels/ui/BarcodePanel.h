// The inspector's barcode page: one button that opens the barcode properties window on the current
// object; what the window hands back is copied into every selected object of the side.
#pragma once

#include <QObject>

#include <functional>

class QPushButton;
class SKTBarcode;
class SKTGraphic;
class InspectorHost;

class BarcodePanel : public QObject
{
    Q_OBJECT
public:
    // Builds the page's controls on the inspector's barcode tab.
    explicit BarcodePanel(InspectorHost &host);

    // The page has no fields of its own: it only offers the window for a barcode.
    void loadFrom(const SKTGraphic &graphic);
    // The page's button.
    void View_barcode_prop_Button();

    // The source's barcode settings and the print flag into every selected object of the live side;
    // every selected barcode but the source then gets a picture that follows them, from
    // `givePicture`, so none keeps a symbol its settings no longer make.
    static void Update_Barcode_Graphics(InspectorHost &host, const SKTGraphic &source,
                                        const std::function<void(SKTBarcode &)> &givePicture);
    // The barcode settings one object shares with another (not its source, unit, bounds or flags).
    static void copyBarcodeFields(const SKTGraphic &from, SKTGraphic &to);

    QPushButton *barcode_prop_btn = nullptr;

private:
    InspectorHost &m_host;
};
