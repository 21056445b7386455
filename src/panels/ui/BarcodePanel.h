// The inspector's barcode page: one button that opens the barcode properties window on the current
// object; the settings the user changed there go to the other selected barcodes.
#pragma once

#include "model/SKTGraphic.h"

#include <QObject>

#include <functional>

class QPushButton;
class SKTBarcode;
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

    // The selected barcodes of the live side besides `current` that the window's OK writes into:
    // the unlocked ones.
    static GraphicList otherBarcodes(InspectorHost &host, const SKTGraphic &current);
    // After OK on `edited`: each of `others` takes the barcode settings in which `opened` (the
    // window on opening) and `edited` (as OK stored them) differ, and no other, the data source
    // when it was changed, then a picture made from its own settings by `givePicture`, which also
    // has the barcode as it was before; the side redraws. valueChosen: the user typed the value or
    // took it from a source chosen.
    static void passChanges(InspectorHost &host, const SKTGraphic &opened, const SKTGraphic &edited,
                            const GraphicList &others, bool valueChosen,
                            const std::function<void(SKTBarcode &, const SKTGraphic &before)> &givePicture);
    // The barcode settings (not the source, unit, bounds or flags) in which `opened` and `edited`
    // differ, into `to`: the type as a whole, and the shown value only when the user chose it (a
    // value the window put in place of one a new type refused is not).
    static void copyBarcodeFields(const SKTGraphic &opened, const SKTGraphic &edited, SKTGraphic &to,
                                  bool valueChosen);
    // The data source of `edited` into `to` when it differs from `opened`'s.
    static void copySource(const SKTGraphic &opened, const SKTGraphic &edited, SKTGraphic &to);

    QPushButton *barcode_prop_btn = nullptr;

private:
    InspectorHost &m_host;
};
