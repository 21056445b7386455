#include "data/ui/Import_Wizard.h"

#include "data/ListEncoding.h"
#include "data/ListImport.h"
#include "data/SeriesFiles.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Import_Excel.h"
#include "data/ui/Import_Excel_DataSheet.h"
#include "data/ui/ListCharsetDialog.h"
#include "foundation/DataRoot.h"
#include "foundation/FileUtils.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "foundation/ui/WindowLook.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace
{
QLineEdit *field(const QString &name, QWidget *parent)
{
    auto *f = new QLineEdit(parent);
    f->setObjectName(name);
    return f;
}

QPushButton *browse(const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(QStringLiteral("Browse..."), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

Import_Wizard::Import_Wizard(BatchWizard *manager, QWidget *parent) : QDialog(parent), m_manager(manager)
{
    setObjectName(QStringLiteral("Import_Wizard"));
    setWindowTitle(QStringLiteral("Import Series"));
    WindowLook::applyBackground(this);
    buildLayout();
}

void Import_Wizard::buildLayout()
{
    auto *grid = new QGridLayout;
    int row = 0;
    addExcelRows(grid, row);
    addTextRows(grid, row);
    addManualRows(grid, row);
    addImageRows(grid, row);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(makeButtonRow());
    resize(520, height());
    connectControls();
}

// Each source is a choice and the rows below it, from row r on; r ends past them.
void Import_Wizard::addExcelRows(QGridLayout *grid, int &r)
{
    Excel_RD = new QRadioButton(QStringLiteral("Excel workbook (XLSX)"), this);
    Excel_RD->setObjectName(QStringLiteral("Excel_RD"));
    grid->addWidget(Excel_RD, r++, 0, 1, 3);
    Excel_path = field(QStringLiteral("Excel_path"), this);
    Excel_btn = browse(QStringLiteral("Excel_btn"), this);
    grid->addWidget(new QLabel(QStringLiteral("File:"), this), r, 0);
    grid->addWidget(Excel_path, r, 1);
    grid->addWidget(Excel_btn, r++, 2);
}

void Import_Wizard::addTextRows(QGridLayout *grid, int &r)
{
    Text_RD = new QRadioButton(QStringLiteral("Text file (TXT, CSV, RTF)"), this);
    Text_RD->setObjectName(QStringLiteral("Text_RD"));
    grid->addWidget(Text_RD, r++, 0, 1, 3);
    Text_file_name = field(QStringLiteral("Text_file_name"), this);
    auto *textLabel = new QLabel(QStringLiteral("Series name:"), this);
    textLabel->setBuddy(Text_file_name);
    grid->addWidget(textLabel, r, 0);
    grid->addWidget(Text_file_name, r++, 1);
    Text_path = field(QStringLiteral("Text_path"), this);
    Text_btn = browse(QStringLiteral("Text_btn"), this);
    grid->addWidget(new QLabel(QStringLiteral("File:"), this), r, 0);
    grid->addWidget(Text_path, r, 1);
    grid->addWidget(Text_btn, r++, 2);
}

void Import_Wizard::addManualRows(QGridLayout *grid, int &r)
{
    Mnul_RD = new QRadioButton(QStringLiteral("Paste values, one a line"), this);
    Mnul_RD->setObjectName(QStringLiteral("Mnul_RD"));
    grid->addWidget(Mnul_RD, r++, 0, 1, 3);
    Manual_file_name = field(QStringLiteral("Manual_file_name"), this);
    auto *manualLabel = new QLabel(QStringLiteral("Series name:"), this);
    manualLabel->setBuddy(Manual_file_name);
    grid->addWidget(manualLabel, r, 0);
    grid->addWidget(Manual_file_name, r++, 1);
    ManualEdit = new QPlainTextEdit(this);
    ManualEdit->setObjectName(QStringLiteral("ManualEdit"));
    ManualEdit->setTabChangesFocus(true); // one entry a line: a tab means nothing there
    ManualEdit->setFixedHeight(90);
    grid->addWidget(ManualEdit, r++, 1, 1, 2);
}

void Import_Wizard::addImageRows(QGridLayout *grid, int &r)
{
    Image_RD = new QRadioButton(QStringLiteral("Folder of pictures"), this);
    Image_RD->setObjectName(QStringLiteral("Image_RD"));
    grid->addWidget(Image_RD, r++, 0, 1, 3);
    Image_file_name = field(QStringLiteral("Image_file_name"), this);
    auto *imageLabel = new QLabel(QStringLiteral("Series name:"), this);
    imageLabel->setBuddy(Image_file_name);
    grid->addWidget(imageLabel, r, 0);
    grid->addWidget(Image_file_name, r++, 1);
    Image_path = field(QStringLiteral("Image_path"), this);
    Image_btn = browse(QStringLiteral("Image_btn"), this);
    grid->addWidget(new QLabel(QStringLiteral("Folder:"), this), r, 0);
    grid->addWidget(Image_path, r, 1);
    grid->addWidget(Image_btn, r++, 2);
}

QHBoxLayout *Import_Wizard::makeButtonRow()
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_button->setAutoDefault(false);
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setDefault(true);
    buttons->addWidget(cancel_button);
    buttons->addWidget(ok_button);
    return buttons;
}

void Import_Wizard::connectControls()
{
    connect(Excel_RD, &QRadioButton::clicked, this, &Import_Wizard::Excel_RD_Pressed);
    connect(Text_RD, &QRadioButton::clicked, this, &Import_Wizard::Text_RD_Pressed);
    connect(Mnul_RD, &QRadioButton::clicked, this, &Import_Wizard::Manual_RD_Pressed);
    connect(Image_RD, &QRadioButton::clicked, this, &Import_Wizard::Image_RD_Pressed);
    connect(Excel_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Excel_Pressed);
    connect(Text_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Text_Pressed);
    connect(Image_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Image_Pressed);
    connect(ok_button, &QPushButton::clicked, this, &Import_Wizard::OKPressed);
    connect(cancel_button, &QPushButton::clicked, this, &Import_Wizard::CancelPressed);
}

int Import_Wizard::Open_Wnd()
{
    Check_Path_And_Create_Files();
    for (QLineEdit *f :
         {Excel_path, Text_path, Image_path, Text_file_name, Manual_file_name, Image_file_name})
        f->clear();
    ManualEdit->clear();
    for (QLineEdit *f : {Text_file_name, Manual_file_name, Image_file_name})
        f->setVisible(file_name_required == 1);
    // A name's label comes and goes with its field.
    for (QLabel *label : findChildren<QLabel *>()) {
        if (label->buddy() == Text_file_name || label->buddy() == Manual_file_name ||
            label->buddy() == Image_file_name)
            label->setVisible(file_name_required == 1);
    }
    chooseOption(0);
    const int result = ModalRunner::exec(*this);
    hide();
    return result;
}

void Import_Wizard::chooseOption(int option)
{
    import_option = option;
    const QList<QRadioButton *> radios{Excel_RD, Text_RD, Mnul_RD, Image_RD};
    for (int i = 0; i < radios.size(); ++i)
        radios[i]->setChecked(i == option);
    Excel_path->setEnabled(option == 0);
    Excel_btn->setEnabled(option == 0);
    for (QWidget *w : QList<QWidget *>{Text_btn, Text_path, Text_file_name})
        w->setEnabled(option == 1);
    ManualEdit->setReadOnly(option != 2);
    Manual_file_name->setEnabled(option == 2);
    for (QWidget *w : QList<QWidget *>{Image_btn, Image_path, Image_file_name})
        w->setEnabled(option == 3);
    QLineEdit *name = option == 1   ? Text_file_name
                      : option == 2 ? Manual_file_name
                      : option == 3 ? Image_file_name
                                    : nullptr;
    if (name && Trim_Str(name->text()).isEmpty())
        name->setText(QStringLiteral("Untitled"));
}

void Import_Wizard::Excel_RD_Pressed()
{
    chooseOption(0);
}
void Import_Wizard::Text_RD_Pressed()
{
    chooseOption(1);
}
void Import_Wizard::Manual_RD_Pressed()
{
    chooseOption(2);
}
void Import_Wizard::Image_RD_Pressed()
{
    chooseOption(3);
}

void Import_Wizard::Browse_Excel_Pressed()
{
    const auto path = FilePanels::instance().openFile(this, QStringLiteral("Choose a Workbook"),
                                                      {QStringLiteral("xlsx"), QStringLiteral("XLSX")});
    if (!path)
        return;
    Excel_path->setText(*path);
    OKPressed();
}

Import_Excel *Import_Wizard::excelImport()
{
    if (!m_excelImport)
        m_excelImport = new Import_Excel(m_manager, this);
    return m_excelImport;
}

Import_Excel_DataSheet *Import_Wizard::excelToSeries()
{
    if (!m_excelToSeries) {
        m_excelToSeries = new Import_Excel_DataSheet(m_manager, this);
        if (m_manager)
            m_excelToSeries->setInUseTest(m_manager->inUseTest());
    }
    return m_excelToSeries;
}

void Import_Wizard::importWorkbook()
{
    const QString path = Trim_Str(Excel_path->text());
    if (file_name_required == 1) {
        Import_Excel_DataSheet *dialog = excelToSeries();
        dialog->file_name_Insert = file_name_Insert;
        dialog->Open_excel_Wnd(path);
    } else {
        Import_Excel *dialog = excelImport();
        dialog->open_mode = QStringLiteral("D");
        dialog->Open_excel_Wnd(path);
    }
}

void Import_Wizard::Browse_Text_Pressed()
{
    const auto path = FilePanels::instance().openFile(this, QStringLiteral("Choose a List"),
                                                      {QStringLiteral("txt"), QStringLiteral("TXT"),
                                                       QStringLiteral("rtf"), QStringLiteral("RTF"),
                                                       QStringLiteral("csv"), QStringLiteral("CSV")});
    if (!path)
        return;
    Text_path->setText(*path);
    OKPressed();
}

void Import_Wizard::Browse_Image_Pressed()
{
    const auto path = FilePanels::instance().openFolder(this, QStringLiteral("Choose a Folder of Pictures"));
    if (!path)
        return;
    Image_path->setText(*path);
    OKPressed();
}

bool Import_Wizard::validPath(QLineEdit *f)
{
    const QString path = Trim_Str(f->text());
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        Show_MessageBox(QStringLiteral("Please select valid file path."));
        return false;
    }
    return true;
}

bool Import_Wizard::deliver(const ListValues &values, QLineEdit *nameField)
{
    if (file_name_required == 1) {
        SeriesResult written;
        {
            PleaseWaitSheet wait(this);
            // Streamed, so a long list is never held a second time as separate strings.
            const SeriesValueProducer produce = [&values](const SeriesValueWriter &write) {
                for (qsizetype i = 0; i < values.size(); ++i) {
                    if (!write(values.at(i)))
                        return false;
                }
                return true;
            };
            written = SeriesFiles::writeNew(
                Data_Folder_Path, nameField->text(), produce,
                [](const QString &q) { return Ask_YES_NO_Keeping(q); }, false, seriesInUseTest(m_manager));
        }
        if (written.cancelled())
            return false;
        if (!written.ok()) {
            Show_MessageBox(written.message.isEmpty() ? SeriesFiles::MsgFileAccess : written.message);
            return false;
        }
    } else if (m_manager) {
        m_manager->addValues(values.toList());
    }
    if (file_name_Insert == 1 && m_manager)
        m_manager->Fill_List();
    return true;
}

bool Import_Wizard::importText()
{
    const QString path = Trim_Str(Text_path->text());
    const ListImport::Kind kind = ListImport::kindOf(path);
    QByteArray bytes;
    ListImportResult read;
    ListText text;
    {
        PleaseWaitSheet wait(this);
        read = ListImport::readBytes(path, &bytes);
        if (read.ok() && kind != ListImport::Kind::Rtf)
            text = ListEncoding::detect(bytes, QFileInfo(path).fileName());
    }
    // Bytes several sets read as text, or a UTF-8 list with bad bytes, are the user's to settle,
    // with the rows in view and the likeliest reading first.
    if (read.ok() && !text.sure && !text.readings.isEmpty()) {
        ListCharsetDialog ask(bytes, QFileInfo(path).fileName(), text.readings, this);
        if (ModalRunner::exec(ask) != QDialog::Accepted)
            return false;
        text.charset = ask.charset();
    }
    if (read.ok()) {
        PleaseWaitSheet wait(this);
        read = ListImport::fromBytes(std::exchange(bytes, QByteArray()), path, kind, 0, text.charset);
    }
    if (!read.ok()) {
        Show_MessageBox(read.message.isEmpty() ? ListImport::MsgCorrupted : read.message);
        return false;
    }
    if (!read.note.isEmpty())
        Show_MessageBox(read.note);
    return deliver(read.values, Text_file_name);
}

bool Import_Wizard::importPaste()
{
    const QStringList lines = ListImport::fromPaste(ManualEdit->toPlainText(), file_name_required == 1);
    if (lines.isEmpty()) {
        Show_MessageBox(ListImport::MsgEnterData);
        ManualEdit->setFocus();
        return false;
    }
    return deliver(lines, Manual_file_name);
}

bool Import_Wizard::importPictures()
{
    return deliver(ListImport::pictureFiles(Trim_Str(Image_path->text())), Image_file_name);
}

void Import_Wizard::OKPressed()
{
    if (import_option == 0) {
        if (!validPath(Excel_path))
            return;
        // The workbook dialog does the import; whatever it did, the wizard's work is over.
        importWorkbook();
        done(1);
        return;
    }
    QLineEdit *name = import_option == 1   ? Text_file_name
                      : import_option == 2 ? Manual_file_name
                                           : Image_file_name;
    if ((import_option == 1 && !validPath(Text_path)) || (import_option == 3 && !validPath(Image_path)))
        return;
    if (const QString bad = file_name_required == 1 ? SeriesFiles::checkName(name->text()) : QString();
        !bad.isEmpty()) {
        Show_MessageBox(bad);
        name->setFocus();
        return;
    }
    const bool done1 = import_option == 1   ? importText()
                       : import_option == 2 ? importPaste()
                                            : importPictures();
    if (done1)
        done(1);
}
