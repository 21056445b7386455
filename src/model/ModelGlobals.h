// Process-wide state of the drawing model and of the editor parts that core code reads.
// One object, reachable as ModelGlobals::instance(); reset() puts every value back for tests.
#pragma once

#include "platform/FontDescriptor.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

class ModelHost;

class ModelGlobals
{
public:
    static ModelGlobals &instance();
    void reset();

    // The font every new text storage starts in; nothing changes it.
    static constexpr const char *Text_Ctrl_Font = "TimesNewRomanPS-ItalicMT";
    // Text_Ctrl_Font at 14 points, the default font of texts.
    static FontDescriptor defaultTextFont()
    {
        return FontDescriptor{QString::fromLatin1(Text_Ctrl_Font), 14.0};
    }

    // Position given to the last new object (main thread only).
    float last_ctrl_X = 10.0f;
    float last_ctrl_Y = 10.0f;
    // Path of the picture chosen last for a new picture object (main thread only).
    QString Library_Selected_Image;
    // The main window, or null (legal: core code then uses the host defaults).
    ModelHost *Main_App_wnd = nullptr;

    // The host to call: the installed main window, or a default one.
    ModelHost &host();

    // Next free place for a new object: steps by the object count of the side (at least 20)
    // and wraps to 10 on an axis where the object would reach the card's far edge.
    QPointF Control_New_Point(const QString &side, int frontCount, int backCount, QSizeF cardArea);

private:
    ModelGlobals() = default;
};

// The same values under their own names.
extern float &last_ctrl_X;
extern float &last_ctrl_Y;
extern QString &Library_Selected_Image;
