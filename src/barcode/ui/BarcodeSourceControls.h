// Where the edited barcode takes its value from: typed, a series, or a column of the Excel binding
// table. Each choice is written into the object at once and its first value shown in the preview.
#pragma once

#include <QObject>

class Barcode_Gen;
class ExcelBindingTable;
class SKTGraphic;

class BarcodeSourceControls : public QObject
{
    Q_OBJECT
public:
    explicit BarcodeSourceControls(Barcode_Gen &window);

    // Shows the object's source: its kind, and the bound series or column selected in the list.
    void loadFrom(const SKTGraphic &object);

    // OK's check of the source: "Series" shown with no series chosen would bind the object to
    // nothing, so that its cards take no value. Says what is missing and answers false then.
    bool seriesChosenForOk() const;

    // The handlers of the source combo, the series list and the show-series button.
    void Data_source_type_Changed();
    void Batch_Series_Changed();
    void View_batch_Series_Button();

private:
    // The design's binding table, or an empty one.
    ExcelBindingTable table() const;
    void setSourceControls(bool bound);
    void fillSeriesNames();
    void fillExcelColumns();
    void selectNamed(const QString &name);
    void showBoundColumn(const SKTGraphic &object);

    Barcode_Gen &w;
};
