#include "panels/ui/DataSourceTab.h"

#include "data/ColumnBinding.h"
#include "data/DataSourceChoices.h"
#include "data/ExcelBindingTable.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ComboItems.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "foundation/ui/PanelWidgets.h"
#include "model/SKTDocument.h"
#include "model/SKTGraphic.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/TextPanel.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using PanelWidgets::combo;
using PanelWidgets::named;

DataSourceTab::DataSourceTab(InspectorHost &host) : QObject(&host.inspectorWindow()), m_host(host)
{
    QWidget *page = host.inspectorTabs().page(InspectorTabs::datasource_tab);
    auto *layout = new QVBoxLayout(page);
    data_source_title = named(new QLabel(page), "data_source_title");
    QFont bold = data_source_title->font();
    bold.setBold(true);
    data_source_title->setFont(bold);
    layout->addWidget(data_source_title);

    auto *form = new QFormLayout;
    Data_source_type = combo(page, "Data_source_type", {ManualItem, SeriesItem});
    auto *sourceRow = new QHBoxLayout;
    sourceRow->addWidget(Data_source_type, 1);
    help_btn = named(new QPushButton(QStringLiteral("?"), page), "Data_Source_Help_btn");
    help_btn->setToolTip(QStringLiteral("Help on data sources"));
    help_btn->setFixedWidth(28);
    sourceRow->addWidget(help_btn);
    form->addRow(QStringLiteral("Source:"), sourceRow);

    Batch_Series = combo(page, "Batch_Series");
    Batch_Series->setEnabled(false);
    auto *seriesRow = new QHBoxLayout;
    seriesRow->addWidget(Batch_Series, 1);
    view_series_btn = named(new QPushButton(QStringLiteral("View"), page), "view_series_btn");
    view_series_btn->setEnabled(false);
    seriesRow->addWidget(view_series_btn);
    form->addRow(QStringLiteral("Values:"), seriesRow);
    layout->addLayout(form);

    manual_brws_box = named(new QGroupBox(QStringLiteral("Picture file"), page), "manual_brws_box");
    new QVBoxLayout(manual_brws_box);
    layout->addWidget(manual_brws_box);
    layout->addStretch();

    // Series made while the page is shown (the series windows, another dialog) are listed by the
    // time the user opens or steps through the list.
    Batch_Series->installEventFilter(this);
    connect(view_series_btn, &QPushButton::clicked, this, &DataSourceTab::View_batch_Series_Button);
    connect(help_btn, &QPushButton::clicked, this, &DataSourceTab::Data_Source_Help_Button);
    followDesign();
    m_designWatch = std::make_unique<DesignListener>(host.document(), [this] { followDesign(); });
}

bool DataSourceTab::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == Batch_Series &&
        (type == QEvent::MouseButtonPress || type == QEvent::KeyPress || type == QEvent::Wheel))
        listSeriesAgain();
    return QObject::eventFilter(watched, event);
}

void DataSourceTab::listSeriesAgain()
{
    if (Data_source_type->currentText() != SeriesItem)
        return;
    const QStringList names = DataSourceChoices::seriesItems(Data_Folder_Path);
    if (names == ComboItems::itemsOf(Batch_Series))
        return;
    const QString chosen = Batch_Series->currentIndex() >= 0 ? Batch_Series->currentText() : QString();
    ComboItems::replaceQuietly(Batch_Series, names);
    const QSignalBlocker quiet(Batch_Series);
    Batch_Series->setCurrentIndex(chosen.isEmpty() ? -1 : Batch_Series->findText(chosen));
}

void DataSourceTab::setTitle(const QString &title)
{
    data_source_title->setText(title);
}

DataSourceTab::~DataSourceTab() = default;

void DataSourceTab::followDesign()
{
    const bool binds = m_host.document().design().binding.Excel_Binding_Use;
    if (m_designBindsWorkbook == binds)
        return;
    m_designBindsWorkbook = binds;
    offerExcel(binds);
}

void DataSourceTab::offerExcel(bool offered)
{
    ComboItems::applyQuietly(Data_source_type,
                             offered ? DataSourceChoices::addExcelItem : DataSourceChoices::removeExcelItem);
}

void DataSourceTab::setManualControls(bool manual)
{
    view_series_btn->setEnabled(!manual);
    Batch_Series->setEnabled(!manual);
    if (m_wordsBound)
        m_wordsBound(!manual);
    SetObjEnabled(manual_brws_box, manual);
}

void DataSourceTab::showBindingColumns(const SKTGraphic *graphic)
{
    const ExcelBindingTable &table = m_host.document().design().binding;
    ComboItems::replaceQuietly(Batch_Series, DataSourceChoices::excelColumnItems(table));
    if (!graphic)
        return;
    ComboItems::showColumnQuietly(
        Batch_Series, ColumnBinding::resolve(table, graphic->excel_col_indx, graphic->excel_col_title),
        graphic->excel_col_title.value_or(QString()));
}

void DataSourceTab::askForColumn()
{
    askFor(ChooseColumnPrompt);
}

void DataSourceTab::askForSeries()
{
    askFor(ChooseSeriesPrompt);
}

void DataSourceTab::askFor(const QString &prompt)
{
    const QSignalBlocker quiet(Batch_Series);
    Batch_Series->setCurrentIndex(-1);
    Batch_Series->setPlaceholderText(prompt);
    Batch_Series->setToolTip(QString());
}

void DataSourceTab::loadFrom(const SKTGraphic &graphic, bool byIndexFirst)
{
    // The window's own listener may reload the selection before this tab hears the same notice.
    followDesign();
    const int kind = graphic.data_source_type;
    // A code the list does not hold (an "Excel" binding with no workbook) leaves the list as it is.
    if (kind >= 0 && kind < Data_source_type->count())
        Data_source_type->setCurrentIndex(kind);
    else
        Show_NSLog_Message(QStringLiteral("Data source %1 is not in the list.").arg(kind));
    setManualControls(kind == DataSourceCode::Fixed);
    // A bound object shows the values of its own kind, so its choice can be seen and changed.
    if (kind == DataSourceCode::BindingColumn && Data_source_type->currentIndex() == kind) {
        showBindingColumns(&graphic);
        return;
    }
    if (kind == DataSourceCode::Series)
        ComboItems::replaceQuietly(Batch_Series, DataSourceChoices::seriesItems(Data_Folder_Path));
    const QString name = graphic.batch_list_name_val();
    if (name.isEmpty())
        return;
    if (byIndexFirst && graphic.batch_list_index == Batch_Series->currentIndex())
        Batch_Series->setCurrentIndex(-1);
    const int index = Batch_Series->findText(name);
    if (index >= 0)
        Batch_Series->setCurrentIndex(index);
}

void DataSourceTab::View_batch_Series_Button()
{
    const QString kind = Data_source_type->currentText();
    if (kind == ManualItem)
        return;
    if (kind == SeriesItem) {
        const QString name =
            Batch_Series->currentIndex() >= 0 ? Trim_Str(Batch_Series->currentText()) : QString();
        if (name.isEmpty()) {
            Show_MessageBox(SelectSeriesMessage);
            return;
        }
        m_host.registry().open(WindowRegistry::Window::SeriesViewer, name);
        return;
    }
    m_host.registry().open(WindowRegistry::Window::BindingTableViewer);
}

void DataSourceTab::Data_Source_Help_Button()
{
    Long_SMS_Dlg::defaultInstance()->showInformation(HelpTitle, HelpText);
}
