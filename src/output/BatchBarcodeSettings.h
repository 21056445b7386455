// Turns a barcode object's own stored fields into the settings its picture is made with, as the
// barcode window loads them, so every bound barcode of every row is made with its own settings.
#pragma once

#include "barcode/BarcodeSettings.h"

class SKTGraphic;

class BatchBarcodeSettings
{
public:
    // The settings the barcode window would hold after loading this object.
    static BarcodeSettings Set_Barcode_Prop_To_Control(const SKTGraphic &barcode);
};
