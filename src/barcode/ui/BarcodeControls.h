// The handlers of the barcode window's controls: each writes its setting and brings the preview up
// to date at the cheapest level (full regeneration, linear re-layout or redraw, 2D re-frame).
#pragma once

#include "barcode/BarcodeResult.h"
#include "platform/FontDescriptor.h"
#include "platform/Picture.h"

#include <QObject>

class Barcode_Gen;
class QLabel;

class BarcodeControls : public QObject
{
    Q_OBJECT
public:
    explicit BarcodeControls(Barcode_Gen &window);

    // --- the four preview levels ---
    // The value checked, then a new symbol made from value, header and footer.
    void goButtonActionPerformed();
    // The existing linear object sized again from the fields, then drawn.
    void linearRelayout();
    // The existing linear object drawn again (colours, alignments).
    void linearRedraw();
    // The last 2D symbol framed again with the current texts, fonts and margins, not re-encoded.
    void reframe2D();

    // --- layout and rules ---
    void barcodeTypeChanged();
    void Liner_Barcode_Opt_Select();
    void two_d_barcode_Opt_Select();
    void _setLabels();
    // 1 when the value text prints; keeps the value-on-top box usable only then.
    int Get_Print_State();
    void Check_And_Set_QR_size_Acc_Version(int versionPosition);
    void data_matrix_barcode_size_acc_format();
    void showCustomDpi(bool shown);
    void refreshFontLabels();
    // Offers "Spread value" as the current linear type allows it.
    void offerSpreadForType();

    // "Family ( size )" as the font labels show it.
    static QString fontLabel(const FontDescriptor &font);

private:
    void connectControls();
    void connectValueAndTexts();
    void connectSymbolChoices();
    void connectSizesAndMargins();
    void connectFontsAndColours();
    void connectHelpButtons();
    void blank(const QString &reason);
    // Writes the value field of the current kind without running its handlers.
    void setValueQuietly(const QString &value);
    // After a type change the symbology refused: the value becomes one it draws, and the window
    // says which value was replaced, by what and why.
    void replaceRefusedValue(const QString &refused);
    void showResult(const BarcodeResult &result);
    // Linear steps act on the preview object; 2D steps on the last symbol.
    void relayoutOrReframe();
    void DPI_ComboBox_Changed();
    void bar_align_Changed();
    void captionChanged();
    void showinTopChanged();
    void hideHeaderChanged();
    void hideFooterChanged();
    void headerOrFooterEdited();
    void LR_Margin_Changed();
    void widthChanged();
    void barWidthStep();
    void chooseFont(FontDescriptor &font, QLabel *label);
    void Set_Font_Clr();
    void showHelp(const QString &title, const QString &message);

    Barcode_Gen &w;
    QString m_refusal; // why the preview was last blanked
};
