// Lays a personal-details record onto one card side: each non-empty detail becomes (or refreshes)
// the text or picture object carrying its identifier, and takes over the detail's data source.
#pragma once

#include "model/SKTGraphic.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

class User_Profile_Class;

class PersonalDetailsPlacement
{
public:
    // What the placement needs of a side: the canvas in the editor, the document's list elsewhere.
    class Side
    {
    public:
        virtual ~Side() = default;
        virtual void Hide_all_Text_control_FUP_Control() = 0;
        virtual GraphicPtr Selcect_Ctrl_With_ID(const QString &ctrl_ID) = 0;
        // Writes the value into the object carrying ctrl_ID, or makes a new one at bound_rect when
        // use_rect is set; answers the object written or made, null when none was (a 0 x 0 frame).
        virtual GraphicPtr ReplaceGraphicText(SKTGraphic::Kind graphicClass, bool use_rect,
                                              const QRectF &bound_rect, const QString &card_side,
                                              const QString &ctrl_value, const QString &ctrl_ID) = 0;
        // The editor's tool code (TextTool or PictureTool): a new object's kind follows it.
        virtual void setToolCode(int tool) = 0;
        // The side's objects, front to back; a new detail's object is placed clear of those shown.
        virtual GraphicList objects() const { return {}; }
        static constexpr int TextTool = 2;
        static constexpr int PictureTool = 8;
    };

    struct Report {
        int placed = 0;  // objects written or made
        int unbound = 0; // details whose object could not be made (no frame)
        // New objects the card had no free room for, by detail index: at their default frames,
        // over what is there.
        QList<int> crowded;
        QString error; // what stopped the placement early; empty when it ran through
    };

    // The default frame of a detail's object in card points (y down), by the front card's size.
    static QRectF Get_Control_Rect_From_Template(const QString &ctrl_ID, const QSizeF &frontCardSize);

    // Hides every personal-details object of the side, then shows and fills those of the non-empty
    // details, the photo last. An object made new takes its default frame where that is clear of
    // the objects shown (those placed before it included), else the clear place of its size
    // nearest to it. Leaves Library_Selected_Image at the photo's path when one was placed.
    static Report place(const User_Profile_Class &record, Side &side, const QSizeF &frontCardSize);
    // What to tell the user of a report's crowded details; "" when there are none.
    static QString crowdedText(const Report &report);
};
