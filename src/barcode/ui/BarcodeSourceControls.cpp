#include "barcode/ui/BarcodeSourceControls.h"

#include "barcode/ui/BarcodeControls.h"
#include "barcode/ui/Barcode_Gen.h"
#include "data/ColumnBinding.h"
#include "data/DataSourceChoices.h"
#include "data/ExcelBindingTable.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ComboItems.h"
#include "model/SKTGraphic.h"
#include "platform/MessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace
{
constexpr int kManual = 0;
constexpr int kSeries = 1;
const QString CreateSeriesFirstText = QStringLiteral("Please create batch processing series first.");
const QString SelectSeriesText = QStringLiteral("Please select the series.");
} // namespace

BarcodeSourceControls::BarcodeSourceControls(Barcode_Gen &window) : QObject(&window), w(window)
{
    connect(w.Data_source_type, &QComboBox::activated, this, [this] { Data_source_type_Changed(); });
    connect(w.Batch_Series, &QComboBox::activated, this, [this] { Batch_Series_Changed(); });
    connect(w.view_series_btn, &QPushButton::clicked, this, [this] { View_batch_Series_Button(); });
}

void BarcodeSourceControls::setSourceControls(bool bound)
{
    // A bound value comes from its source: it is shown but never typed.
    w.view_series_btn->setEnabled(bound);
    w.Batch_Series->setEnabled(bound);
    w.dataText->setReadOnly(bound);
    w.dataText_2D->setReadOnly(bound);
}

void BarcodeSourceControls::fillSeriesNames()
{
    ComboItems::replaceQuietly(w.Batch_Series, DataSourceChoices::seriesItems(Data_Folder_Path));
}

ExcelBindingTable BarcodeSourceControls::table() const
{
    return w.binding ? *w.binding : ExcelBindingTable();
}

void BarcodeSourceControls::fillExcelColumns()
{
    ComboItems::replaceQuietly(w.Batch_Series, DataSourceChoices::excelColumnItems(table()));
}

void BarcodeSourceControls::selectNamed(const QString &name)
{
    const QSignalBlocker block(w.Batch_Series);
    const int i = w.Batch_Series->findText(name);
    if (i >= 0)
        w.Batch_Series->setCurrentIndex(i);
}

// The column the object is bound to, found by its heading, or the heading shown as missing.
void BarcodeSourceControls::showBoundColumn(const SKTGraphic &o)
{
    ComboItems::showColumnQuietly(w.Batch_Series,
                                  ColumnBinding::resolve(table(), o.excel_col_indx, o.excel_col_title),
                                  o.excel_col_title.value_or(QString()));
}

void BarcodeSourceControls::loadFrom(const SKTGraphic &o)
{
    const int kind = o.data_source_type >= 0 && o.data_source_type < w.Data_source_type->count()
                         ? o.data_source_type
                         : kManual;
    {
        const QSignalBlocker block(w.Data_source_type);
        w.Data_source_type->setCurrentIndex(kind);
    }
    setSourceControls(kind != kManual);
    if (kind == kSeries) {
        fillSeriesNames();
        if (!o.batch_list_name_val().isEmpty())
            selectNamed(o.batch_list_name_val());
    } else if (kind != kManual) {
        fillExcelColumns();
        showBoundColumn(o);
    } else {
        const QSignalBlocker block(w.Batch_Series);
        w.Batch_Series->clear();
    }
}

bool BarcodeSourceControls::seriesChosenForOk() const
{
    if (w.Data_source_type->currentIndex() != kSeries || !w.Batch_Series->currentText().trimmed().isEmpty())
        return true;
    MessageService::deliverMessage(w.Batch_Series->count() == 0 ? CreateSeriesFirstText : SelectSeriesText);
    return false;
}

void BarcodeSourceControls::Data_source_type_Changed()
{
    SKTGraphic *o = w.pass_barcode_control;
    const int kind = w.Data_source_type->currentIndex();
    if (kind == kManual) {
        setSourceControls(false);
        if (o)
            o->Set_Data_source_type(DataSourceCode::Fixed);
    } else if (kind == kSeries) {
        setSourceControls(true);
        fillSeriesNames();
        if (w.Batch_Series->count() == 0) {
            // The object keeps its source until there is a series to bind to.
            MessageService::deliverMessage(CreateSeriesFirstText);
            return;
        }
        if (o && !o->batch_list_name_val().isEmpty())
            selectNamed(o->batch_list_name_val());
        if (o)
            o->Set_Data_source_type(DataSourceCode::Series);
    } else {
        setSourceControls(true);
        fillExcelColumns();
        if (o) {
            showBoundColumn(*o);
            o->Set_Data_source_type(DataSourceCode::BindingColumn);
        }
    }
    w.goButtonActionPerformed();
}

void BarcodeSourceControls::Batch_Series_Changed()
{
    SKTGraphic *o = w.pass_barcode_control;
    const QString text = w.Batch_Series->currentText().trimmed();
    const int position = w.Batch_Series->currentIndex();
    if (text.isEmpty() || !o)
        return;
    QString value;
    if (w.Data_source_type->currentIndex() == kSeries) {
        o->Set_Batch_List_Name(text);
        o->Set_Batch_List_Index(position);
        value = DataSourceChoices::Get_First_Value_Of_Dataset(Data_Folder_Path, text);
    } else {
        o->Set_Excel_binding_Column(position, text);
        value = DataSourceChoices::Get_First_Value_Of_Excel_Binding(table(), position);
    }
    if (w.liner_or_2D_font != 0) {
        const QSignalBlocker block(w.dataText_2D);
        w.dataText_2D->setPlainText(value);
    } else {
        w.dataText->setText(value);
    }
    // The source's value goes with the source to every barcode the window edits.
    w.markValueChosen();
    w.goButtonActionPerformed();
    if (w.refreshCanvas)
        w.refreshCanvas();
}

void BarcodeSourceControls::View_batch_Series_Button()
{
    if (w.Data_source_type->currentIndex() == kManual)
        return;
    if (w.Data_source_type->currentIndex() == kSeries) {
        const QString name = w.Batch_Series->currentText().trimmed();
        if (name.isEmpty()) {
            MessageService::deliverMessage(SelectSeriesText);
            return;
        }
        if (w.registry)
            w.registry->open(WindowRegistry::Window::SeriesViewer, name);
        return;
    }
    if (w.registry)
        w.registry->open(WindowRegistry::Window::BindingTableViewer);
}
