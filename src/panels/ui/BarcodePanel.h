// The inspector's barcode page: one button that opens the barcode properties window on the current
// object; what the window hands back is copied into every selected object of the side.
#pragma once

#include "platform/Picture.h"

#include <QObject>

class QPushButton;
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
    // the picture goes to the current object only.
    static void Update_Barcode_Graphics(InspectorHost &host, const SKTGraphic &source,
                                        const Picture &picture);
    // The barcode settings one object shares with another (not its source, unit, bounds or flags).
    static void copyBarcodeFields(const SKTGraphic &from, SKTGraphic &to);

    QPushButton *barcode_prop_btn = nullptr;

private:
    InspectorHost &m_host;
};
