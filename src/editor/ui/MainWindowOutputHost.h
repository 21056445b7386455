// The main window as the export and print windows see it, and where those windows fill their
// entries of the window registry (the Export, Print, Mail and mail settings commands).
#pragma once

#include "output/ui/OutputHost.h"

#include <QObject>

class SKTWindowController;
class WindowRegistry;

class MainWindowOutputHost : public QObject, public OutputHost
{
    Q_OBJECT
public:
    // Lives as long as the window (its child).
    explicit MainWindowOutputHost(SKTWindowController &window);

    QWidget *outputWindow() override;
    const CardDesign &batchDesign() override { return designOf(m_window); }
    void settleWorkbook() override;
    void Refresh_Canvas() override;
    QString designName() override;
    QString designPath() override;

    // The window's design, which a run's plan is made from; the print command's check reads it too.
    static const CardDesign &designOf(SKTWindowController &window);

    // Fills the Export, Print, Mail and MailSettings entries; their dialogs are made on first use.
    static void fillRegistry(SKTWindowController &window, WindowRegistry &registry);

private:
    SKTWindowController &m_window;
};
