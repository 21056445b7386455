// The application's style: the platform's own, with its standard icons made on first use.
// Qt's common style makes an icon such as the menu bar's extension arrow from PNG files through
// QIcon::addFile, whose format probe loads every image-format plugin (TIFF, WebP, MNG and their
// libraries) before its built-in PNG reader is tried. The menu bar asks for that icon when it is
// built, though it shows it only when the menus overflow: made on first use, the plugins load when
// a picture first needs them, after the main window shows.
#pragma once

#include <QProxyStyle>

class QApplication;

class DeferredIconStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // Over the style the application would use (-style, QT_STYLE_OVERRIDE or the desktop's).
    DeferredIconStyle();

    // Sets it as the application's style; before any widget is made.
    static void installOn(QApplication &app);

    // The base style's icon, asked for when the icon is first drawn, sized or read, with a copy of
    // the option (its base part, which is all an icon is asked with) and the widget if still there.
    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
