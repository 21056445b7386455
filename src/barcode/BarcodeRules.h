// The rules the barcode window applies before it makes a picture: the value check, whether the
// value text prints, the QR Code and Data Matrix size floors and the bar width step.
#pragma once

#include <QString>

struct BarcodeSettings;
class NKDBarcode;

class BarcodeRules
{
public:
    // The value may go to the symbology: it is not empty (each symbology then takes or refuses
    // the text itself, with its own reason). On failure, the reason in *reason.
    static bool Check_And_Validat_Barcode(const QString &value, QString *reason = nullptr);

    // 1 when the value text is printed (the caption box enabled and not ticked), else 0.
    static int Get_Print_State(const BarcodeSettings &settings);

    // Smallest QR Code picture side in pixels for a version position (0 automatic): one pixel
    // per module, 21 at least.
    static int qrMinimumSize(int versionPosition);
    // Raises settings.qr_size_val to the floor of its version; returns the floor.
    static int Check_And_Set_QR_size_Acc_Version(BarcodeSettings &settings, int versionPosition);

    // Grows *width and *height to columns x module and rows x module for the chosen format.
    static void data_matrix_barcode_size_acc_format(const BarcodeSettings &settings, int *width, int *height);

    // The bar width step: module width from the mils entry, width recomputed, total width set.
    static void applyBarWidth(const BarcodeSettings &settings, NKDBarcode &barcode);
};
