#include "editor/ui/MainWindowOutputHost.h"

#include "data/ExcelBindingTable.h"
#include "editor/EditorState.h"
#include "editor/ui/ChangedWorkbook.h"
#include "editor/ui/SKTWindowController.h"
#include "foundation/DataRoot.h"
#include "foundation/WindowRegistry.h"
#include "model/ModelGlobals.h"
#include "output/ui/Email_Setting.h"
#include "output/ui/ExportSheet.h"
#include "output/ui/Open_Export_Log.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Send_Mail.h"

#include <QFileInfo>

MainWindowOutputHost::MainWindowOutputHost(SKTWindowController &window) : QObject(&window), m_window(window)
{
}

QWidget *MainWindowOutputHost::outputWindow()
{
    return &m_window;
}

const CardDesign &MainWindowOutputHost::designOf(SKTWindowController &window)
{
    return window.document().design();
}

void MainWindowOutputHost::settleWorkbook()
{
    ChangedWorkbook::settle(m_window);
}

void MainWindowOutputHost::Refresh_Canvas()
{
    m_window.Refresh_Canvas();
}

QString MainWindowOutputHost::designName()
{
    const QString name = QFileInfo(Project_File_Name).completeBaseName();
    return name.isEmpty() ? QStringLiteral("card") : name;
}

QString MainWindowOutputHost::designPath()
{
    return Project_File_Name;
}

void MainWindowOutputHost::fillRegistry(SKTWindowController &window, WindowRegistry &registry)
{
    auto *host = new MainWindowOutputHost(window);
    Open_Export_Log::fillRegistry(registry, &window);
    // A workbook changed since its rows were loaded is settled where each window reads the design
    // (RunStart::plan): as it opens, and again as its run starts.
    registry.fill(WindowRegistry::Window::Export, [host, &window, &registry](const QString &) {
        registry.instance<ExportSheet>([&] { return new ExportSheet(*host, &window); })->Export_Button();
        return 1;
    });
    registry.fill(WindowRegistry::Window::Print, [host, &window, &registry](const QString &) {
        return registry.instance<Print_Wnd>([&] { return new Print_Wnd(*host, &window); })->Open_Print_Wnd();
    });
    registry.fill(WindowRegistry::Window::MailSettings, [&window, &registry](const QString &) {
        return registry
            .instance<Email_Setting>([&] {
                auto *settings = new Email_Setting(&window);
                settings->setSettingsChanged([&window] { window.Get_Email_Details(); });
                return settings;
            })
            ->Open_Wnd();
    });
    registry.fill(WindowRegistry::Window::Mail, [host, &window, &registry](const QString &) {
        return registry
            .instance<Send_Mail>([&] {
                auto *mail = new Send_Mail(*host, &window);
                // The run reads the main window's copies of the settings, taken afresh.
                mail->setSettingsSource([&window] {
                    window.Get_Email_Details();
                    Send_Mail::StoredSettings s;
                    s.sender = window.sender_email;
                    s.account.password = window.sender_pwd;
                    s.account.server = window.sending_server;
                    s.account.port = window.sending_port;
                    s.account.ssl = window.send_enable_ssl == QLatin1String("Y") ? QStringLiteral("Y")
                                                                                 : QStringLiteral("N");
                    return s;
                });
                mail->setSettingsOpener([&registry] { registry.open(WindowRegistry::Window::MailSettings); });
                return mail;
            })
            ->Open_Wnd();
    });
}
