// The card page of the inspector: its three tabs and every action on them. Each control writes its
// own fields of the live side's page (or the card's size, outline or sides) through the document,
// which announces the change; the panel then loads every control back from the design, its only
// source (so undo, redo, an opened design or a change made elsewhere shows as it is).
#pragma once

#include "platform/FontDescriptor.h"

#include <QObject>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Card_Property;
class ColorWell;
class DesignSettings;
class CardBackgroundTab;
class CardBorderTab;
class CardSettingsTab;
class ComboDispatcher;
class QFont;
class DesignListener;
class InspectorHost;
class QColor;

class CardPagePanel : public QObject
{
    Q_OBJECT
public:
    explicit CardPagePanel(InspectorHost &host);
    ~CardPagePanel() override;

    // Loads every control of the page from the design (the live side's page, the card's size,
    // outline and sides) and takes the content snapshot. Called on each notice of the design and
    // when the live side changes.
    void reload();

    // The combo boxes' writes: each its own field of the live side's page (both pages for sides).
    void writeBorderStyle();
    void writePattern();
    void writeImageLayout();
    void writeSides();
    // Sets the fill radios and the enabling of the border and fill controls for a fill code.
    void card_prop_set(const QString &fillStyle);
    // The card takes the width and height steppers' size, with the entry it names; objects it
    // leaves past its edge are named to the user.
    void Apply_Size_Clicked();
    // Gives the content colour (the well's) and `font` to every text of the live side when they
    // differ from what its page holds, and to the page.
    void Update_All_Card_Content(const FontDescriptor &font);
    void changeAllTextFont(const QFont &font);

    // The actions of the page's controls.
    void Card_Border_ChkBox();
    void Card_Fill_Chk_Box();
    void Card_Solid_RD_Sel();
    void Card_Gradient_RD_Sel();
    void Card_Hatch_RD_Sel();
    void Card_Image_RD_Sel();
    void Card_Image_Browse_Btn();
    void Card_Image_Library_Btn();
    void card_shape_CellClick(int row);
    void Contect_Color_Clicked();
    void Content_Font_Clicked();
    // A size picked in the list: the steppers take it and the card is resized.
    void sizeRowChosen(int row);

    // The user's choice of orientation: the card turns to it (its width and height change places)
    // unless it already stands so.
    void orientationChosen();
    // The user's choice of category: its names listed, the card's own size marked if listed.
    void categoryChosen();
    // The category's size names into the list, first row selected.
    void fillSizeList(int categoryIndex);
    void Mark_List_New_Selection(int row);
    // Shows the orientation, category and row whose size the card has, looked for first in the
    // category and orientation given (the preferred row when it fits); a size no entry gives shows
    // as a custom size, its orientation by its shape, with no names listed.
    void showEntryOfCardSize(const QString &category, const QString &preset, int preferred);
    int selectedSizeRow() const;

    // The page's combos go through the inspector's dispatcher.
    void attachCombos(ComboDispatcher &dispatcher) const;
    // The pattern names the background's pattern list offers (the window's resources).
    void setPatternNames(const QStringList &names);

    static inline const QString UntitledName = QStringLiteral("Untitled");

private:
    void connectControls();
    void loadFrom(const Card_Property &page);
    // The controls the user writes the page through.
    QList<QObject *> controls() const;
    // The content font and colour on the settings tab, and as new texts take them.
    void showContentFont(const FontDescriptor &font, const QColor &color);
    // The page of the side shown: the one home of the content font and colour.
    const Card_Property &livePage() const;
    // Writes through the document as part of the step in progress; nothing during a bulk load.
    void writeSettings(const std::function<void(DesignSettings &, int side)> &write);
    void writePage(const std::function<void(Card_Property &)> &write);
    void writeColor(ColorWell *well);
    void writeBorderWidth();
    void writeGradientAngle();
    void writeOpacity();
    void writeName();
    // Names the objects that lay whole on a card of the size `before` and reach past this one.
    void nameObjectsLeftOff(QSizeF before);
    // After the card turned: the objects of both sides that lay whole on the card of the size
    // `before` move to free places on it (ObjectsOnCard::turn), and the user is told what moved
    // and what no longer fits.
    void keepObjectsOnTurnedCard(QSizeF before);
    // Runs one of the page's actions as the undo step of that name; with mergeControl, that
    // control's writes add to one step (PanelEdits::cardPage).
    void runStep(const char *name, void (CardPagePanel::*action)(), const QObject *mergeControl = nullptr);
    void setFillKindEnabling(const QString &fillStyle);
    void selectFillRadio(const QString &fillStyle);
    // A fill radio's action: that kind on, its controls enabled, the page written.
    void chooseFillKind(const QString &fillStyle);
    // "H" for the "Horizontal" orientation, "V" for any other.
    QString presetCode() const;
    // The card's size in millimetres, from the front canvas.
    QSizeF cardSizeMM() const;

    InspectorHost &m_host;
    CardSettingsTab *m_settings;
    CardBackgroundTab *m_background;
    CardBorderTab *m_border;
    std::unique_ptr<DesignListener> m_designWatch;
    bool m_nameLeftOff = true;
};
