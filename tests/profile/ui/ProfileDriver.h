// A main window over a private data root with the personal-details dialogs driven as a user would:
// choosing list items, typing, clicking, and sessions run through the modal seam.
#pragma once

#include "data/ExcelBindingTable.h"
#include "data/ui/Import_Excel.h"
#include "editor/ui/MainWindowFixture.h"
#include "editor/ui/SKTWindowController.h"
#include "foundation/FoundationState.h"
#include "foundation/WindowRegistry.h"
#include "profile/ProfileState.h"
#include "profile/ui/Show_User_Profile.h"
#include "profile/ui/User_profile.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

class ProfileFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        ProfileState::instance().reset();
        MainWindowFixture::SetUp();
        User_profile::setWorkbookImport([this](QWidget *, const QString &path, ExcelBindingTable &table) {
            imported << path;
            table.setColumnTitles({"Email"});
            table.setListData(nextRows);
        });
    }
    void TearDown() override
    {
        User_profile::setWorkbookImport({});
        MainWindowFixture::TearDown();
        ProfileState::instance().reset();
    }

    // Every way a user leaves the dialog without OK; none may cost the design anything.
    static QList<QPair<const char *, std::function<void(User_profile &)>>> closings()
    {
        return {
            {"Cancel", [](User_profile &d) { d.cancel_button->click(); }},
            {"Escape", [](User_profile &d) { QTest::keyClick(&d, Qt::Key_Escape); }},
            {"close button",
             [](User_profile &d) {
                 d.show();
                 d.close();
             }},
        };
    }
    // The user picks an item of a list (the widget's own signal, as a click on the item gives).
    static void choose(QComboBox *list, int index)
    {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    static void type(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    void writeSeries(const QString &name, const QByteArray &lines)
    {
        QDir().mkpath(Data_Folder_Path);
        testsupport::writeFile(QDir(Data_Folder_Path).filePath(name + ".txt"), lines);
    }
    // Opens the details entry with side as the editor or a wizard would, body as the user's
    // session; the answer is what the session returns (usually a click on OK or Cancel).
    int session(const QString &side, std::function<void(User_profile &)> body)
    {
        modalScripts.push_front([body](QDialog &d) {
            auto *dialog = dynamic_cast<User_profile *>(&d);
            EXPECT_TRUE(dialog);
            if (dialog)
                body(*dialog);
            return d.result();
        });
        return window->registry().open(WindowRegistry::Window::UserProfile, side);
    }
    static QList<ExcelBindingTable::Row> rows(const QStringList &emails)
    {
        QList<ExcelBindingTable::Row> out;
        for (int i = 0; i < emails.size(); ++i)
            out << ExcelBindingTable::Row{{"Extension", QString::number(i + 1)}, {"Column1", emails.at(i)}};
        return out;
    }
    // The next column import a Browse opens ticks every column with Select All, then OK or Cancel.
    void answerColumnImport(bool ok = true)
    {
        modalScripts.push_front([this, ok](QDialog &d) {
            auto *import = dynamic_cast<Import_Excel *>(&d);
            EXPECT_TRUE(import) << "not the column import: " << d.windowTitle().toStdString();
            if (import) {
                ++columnImports;
                QTest::mouseClick(import->select_all_button, Qt::LeftButton);
                QTest::mouseClick(ok ? import->ok_button : import->cancel_button, Qt::LeftButton);
            }
            return d.result();
        });
    }
    GraphicPtr byId(const GraphicList &list, const QString &id) const
    {
        for (const GraphicPtr &g : list)
            if (g->control_ID.value_or(QString()) == id)
                return g;
        return nullptr;
    }

    QStringList imported;
    QList<ExcelBindingTable::Row> nextRows;
    int columnImports = 0;
};
