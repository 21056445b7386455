// The barcode properties window: symbology, value and its source, texts, fonts, colours, sizes of
// one barcode object with a live preview; OK stores the settings and the picture into the object.
#pragma once

#include "barcode/BarcodeSettings.h"
#include "barcode/ModuleGrid.h"
#include "barcode/ui/BarcodeWindowLayout.h"
#include "model/SKTGraphic.h"
#include "platform/FontDescriptor.h"
#include "platform/Picture.h"

#include <QDialog>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class BarcodeControls;
class ExcelBindingTable;
class BarcodeSourceControls;
class NKDBarcode;
class SKTBarcode;
class SKTGraphic;
class WindowRegistry;

class Barcode_Gen : public QDialog, public BarcodeWindowLayout
{
    Q_OBJECT
public:
    explicit Barcode_Gen(QWidget *parent = nullptr);
    ~Barcode_Gen() override;

    // Loads the object's stored settings into the controls and keeps the object as the one whose
    // data source the window edits; makes no picture.
    void Set_Barcode_Prop_To_Control(SKTGraphic &object);
    // Runs the window on a copy of the object. After OK the settings, the data source and the
    // picture are stored into it, its frame takes the picture's size from the same top-left corner,
    // moved inward as far as it must to stay on the card but never onto another object of the
    // side, and the picture is returned; the caller makes all of it one undo step. A picture
    // larger than the card is refused before OK. After Cancel, Escape or the close button nothing
    // is stored and nothing is returned. card: the card's area in points (null: no card).
    std::optional<Picture> Open_Wnd(SKTBarcode &object, const QRectF &card = QRectF());
    // How another selected barcode took the settings OK passed on.
    enum class Given {
        Whole,   // all of them, and the picture they make
        OwnType, // all but the type, which cannot hold its value: it keeps its type and value
        Nothing, // none: even its own type and value make no picture with them
    };
    // After OK, gives another selected barcode its own picture, made from all of its own settings
    // as the window would make it were it opened on that one, stored and framed on the card as OK
    // does. before: the barcode as it was before OK passed settings to it. A picture is only ever
    // the one its stored settings make: when they make none, the barcode takes back its type and
    // value, or else all it was, picture and frame included.
    Given givePictureTo(SKTBarcode &object, const SKTGraphic &before);
    // The edited barcode's settings as the window showed them on opening, stored as OK stores
    // them: what OK stores differently is what the user changed. Null before the first opening.
    const SKTBarcode *openedSettings() const { return m_opened.get(); }
    // How many selected barcodes the window edits; above one it says so, and that only the
    // settings changed in it go to all of them.
    void setEditedCount(int count);
    // The other selected barcodes OK writes into, for the next opening: their types shown as
    // mixed when they differ, and those whose own value a newly chosen type cannot hold named.
    void setOtherBarcodes(const GraphicList &others) { m_others = others; }
    // The objects of the side, which a frame OK grows or moves should not be put over.
    void setSideObjects(const GraphicList &side) { m_side = side; }
    // True once the user typed the value or took one from a chosen source; a value the window put
    // in place of one a new type refused is no value for the other barcodes.
    bool valueChosen() const { return m_valueChosen; }
    void markValueChosen(bool chosen = true)
    {
        if (m_loading)
            return;
        m_valueChosen = chosen;
        // A value the user gives now is the one to keep, not one a stand-in took the place of.
        if (chosen)
            m_valueAside.reset();
    }
    // A type that could not hold the value put standIn in its place: the value is set aside, so that
    // a later type holding it takes it back.
    void setValueAside(const QString &value, const QString &standIn);
    // The value set aside while its stand-in still shows, counted as chosen again as it was before
    // it was replaced; none otherwise. Nothing stays set aside.
    std::optional<QString> takeValueAside();
    // The frames OK and givePictureTo could not fit without covering another object, or left
    // running off the card, each a sentence naming its barcode; emptied by reading.
    QStringList takeFrameNotes() { return std::exchange(m_frameNotes, {}); }
    // The symbology shown: the list's choice, or while the selection's types are mixed and none is
    // chosen, the edited barcode's own.
    QString typeTitle() const;
    // What the window says about the other barcodes' values under the type chosen ("" for nothing).
    QString othersNote() const;

    // The settings the controls stand for now.
    BarcodeSettings settings() const;
    // The value text of the current kind (the multi-line field for 2D symbols).
    QString currentValue() const;
    const Picture &previewPicture() const { return m_preview; }

    // Handlers, public so that the panel and tests reach the same paths as the controls.
    void goButtonActionPerformed();
    void Set_Blank_Image();
    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();
    BarcodeControls &controls() const { return *m_controls; }
    BarcodeSourceControls &sourceControls() const { return *m_source; }

    // Where the show-series button opens its viewers, and what redraws the card after a data
    // source is chosen; both may stay unset (the button then does nothing).
    WindowRegistry *registry = nullptr;
    std::function<void()> refreshCanvas;
    // The design's binding table, whose columns a barcode may be bound to; none: no columns.
    const ExcelBindingTable *binding = nullptr;

    // State the handlers share, named as the window's code refers to it.
    int liner_or_2D_font = 0; // 0 linear, 1 2D
    int USED_DPI_VALUE = 600; // resolution of 2D pictures
    int PDF_Row = 0;
    int PDF_Col = 3;
    FontDescriptor value_font = BarcodeSettings().value_font;
    FontDescriptor header_font = BarcodeSettings().header_font;
    FontDescriptor footer_font = BarcodeSettings().footer_font;
    // The linear object of the preview (null for 2D symbols and refused values).
    std::shared_ptr<NKDBarcode> testBarcode;
    // The last 2D symbol: its modules, size in points and the value it encodes.
    struct Image2D {
        std::shared_ptr<const ModuleGrid> grid;
        QSizeF size;
        QString value;
    };
    std::optional<Image2D> image_2d;
    // The object last loaded; the data-source controls write into it.
    SKTGraphic *pass_barcode_control = nullptr;
    bool loading() const { return m_loading; }

    void showPreview(const Picture &picture);
    void setErrorText(const QString &text);
    // What the window says about the value it replaced after a type change ("" for nothing).
    void setValueNote(const QString &note);
    // Why the picture cannot go on the card ("" when it fits, or no card is known).
    QString fitNote() const;

private:
    void storeInto(SKTBarcode &object) const;
    // Shows the type list as mixed when the selected barcodes differ in type.
    void showMixedTypes(const SKTBarcode &object);
    // The picture into the object, its frame fitted to it on the card.
    // `itself`: the object on the side that `object`, a working copy, stands for.
    void placePicture(SKTBarcode &object, const Picture &picture, const SKTGraphic *itself = nullptr);
    // The first object of the side, besides object (and itself), that area lies over and before
    // did not.
    const SKTGraphic *newlyCovered(const SKTGraphic &object, const QRectF &area, const QRectF &before,
                                   const SKTGraphic *itself = nullptr) const;
    void showNotes();
    // The object's own picture made and placed; false, and nothing changed, when it makes none.
    bool makePictureFor(SKTBarcode &object);
    // A picture of the window's settings as the pixels a design keeps.
    Picture storedPicture(const Picture &preview) const;

    BarcodeControls *m_controls = nullptr;
    BarcodeSourceControls *m_source = nullptr;
    bool m_loading = false; // set while controls are loaded in bulk: no previews
    Picture m_preview;
    QRectF m_card;
    QString m_valueNote;
    std::shared_ptr<SKTBarcode> m_opened;
    // The copy the window edits while it runs: its data source controls write into it.
    std::shared_ptr<SKTBarcode> m_working;
    GraphicList m_others;
    GraphicList m_side;
    QString m_ownTitle; // the edited barcode's type, shown while the list is mixed
    bool m_valueChosen = false;
    std::optional<QString> m_valueAside;
    QString m_standIn;          // what shows in place of the value set aside
    bool m_asideChosen = false; // whether the value set aside was chosen by the user
    QStringList m_frameNotes;
};
