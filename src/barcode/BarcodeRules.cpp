#include "barcode/BarcodeRules.h"

#include "barcode/BarcodeSettings.h"
#include "barcode/BarcodeSizing.h"
#include "barcode/DataMatrixEncoder.h"
#include "barcode/NKDBarcode.h"
#include "barcode/QREncoder.h"

bool BarcodeRules::Check_And_Validat_Barcode(const QString &value, QString *reason)
{
    if (value.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("Please enter barcode value");
        return false;
    }
    return true;
}

int BarcodeRules::Get_Print_State(const BarcodeSettings &settings)
{
    if (!settings.captionBoxEnabled)
        return 0;
    return settings.show_hide_val == 1 ? 0 : 1;
}

int BarcodeRules::qrMinimumSize(int versionPosition)
{
    return QREncoder::minimumImageDimension(versionPosition);
}

int BarcodeRules::Check_And_Set_QR_size_Acc_Version(BarcodeSettings &settings, int versionPosition)
{
    const int floor = qrMinimumSize(versionPosition);
    if (settings.qr_size_val < floor)
        settings.qr_size_val = floor;
    return floor;
}

void BarcodeRules::data_matrix_barcode_size_acc_format(const BarcodeSettings &settings, int *width,
                                                       int *height)
{
    const QStringList &formats = BarcodeSettings::dataMatrixFormats();
    if (settings.dm_format_index <= 0 || settings.dm_format_index >= formats.size())
        return;
    int rows = 0;
    int columns = 0;
    DataMatrixEncoder::parseFormat(formats.at(settings.dm_format_index), rows, columns);
    const int m = settings.dm_module_val;
    if (*width < columns * m)
        *width = columns * m;
    if (*height < rows * m)
        *height = rows * m;
}

void BarcodeRules::applyBarWidth(const BarcodeSettings &settings, NKDBarcode &barcode)
{
    barcode.setBarWidth(BarcodeSizing::barWidthForMils(settings.linear_width_val));
    barcode.calculateWidth();
    barcode.setWidth(BarcodeSizing::Set_Linear_Barcode_Width(settings, barcode));
}
