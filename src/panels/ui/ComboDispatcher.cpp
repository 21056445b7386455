#include "panels/ui/ComboDispatcher.h"

#include "canvas/ui/SKTGraphicView.h"
#include "data/DataSourceChoices.h"
#include "data/ExcelBindingTable.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/ui/ComboItems.h"
#include "foundation/ui/PanelWidgets.h"
#include "model/Card_Property.h"
#include "model/SKTDocument.h"
#include "model/SKTImage.h"
#include "panels/ui/CardPagePanel.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/PanelEdits.h"
#include "panels/ui/TextPanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>

#include <exception>

ComboDispatcher::ComboDispatcher(InspectorHost &host, CardPagePanel &cardPage, DataSourceTab &dataSource,
                                 TextPanel &texts, ImageSignPanel &pictures)
    : QObject(&host.inspectorWindow()), m_host(host), m_cardPage(cardPage), m_dataSource(dataSource),
      m_texts(texts), m_pictures(pictures)
{
}

void ComboDispatcher::attach(QComboBox *combo, Combo id)
{
    connect(combo, &QComboBox::activated, this, [this, id] { comboBoxSelectionDidChange(id); });
}

GraphicPtr ComboDispatcher::selectedGraphic() const
{
    return m_host.liveCanvas()->selectedGraphic();
}

void ComboDispatcher::comboBoxSelectionDidChange(Combo id)
{
    try {
        const auto page = [this](const char *name, const std::function<void()> &write) {
            PanelEdits::cardPage(m_host, QString::fromLatin1(name), write);
        };
        switch (id) {
        case Combo::Card_image_layout:
            page("Background Layout", [this] { m_cardPage.writeImageLayout(); });
            break;
        case Combo::Card_border_style:
            page("Border Style", [this] { m_cardPage.writeBorderStyle(); });
            break;
        case Combo::Card_hatch_style:
            page("Pattern", [this] { m_cardPage.writePattern(); });
            break;
        case Combo::Data_source_type:
            sourceStep([this] { dataSourceKindChanged(); });
            break;
        case Combo::Batch_Series:
            sourceStep([this] { seriesChosen(); });
            break;
        case Combo::Sides_ComboBox:
            page("Sides", [this] { m_cardPage.writeSides(); });
            break;
        case Combo::Preset_ComboBox:
            page("Orientation", [this] { m_cardPage.orientationChosen(); });
            break;
        case Combo::Category_ComboBox:
            categoryChanged();
            break;
        }
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void ComboDispatcher::sourceStep(const std::function<void()> &write)
{
    PanelEdits::selectionWith(m_host, QStringLiteral("Data Source"), selectedGraphic(), write);
}

GraphicList ComboDispatcher::boundObjects() const
{
    // The object shown, and beside a text every other selected text: the choice binds each, as
    // every other control writes every selected object that has its field.
    const GraphicPtr current = selectedGraphic();
    if (!current)
        return {};
    GraphicList objects{current};
    if (current->kind() != SKTGraphic::Kind::Text)
        return objects;
    for (const GraphicPtr &g : PanelEdits::fieldTargets(m_host, PanelEdits::ofKind(SKTGraphic::Kind::Text)))
        if (g != current)
            objects.append(g);
    return objects;
}

void ComboDispatcher::showWordsOf(SKTGraphic &graphic)
{
    // Over several texts the box shows none of their words.
    if (graphic.kind() == SKTGraphic::Kind::Text && TextPanel::selectedTexts(m_host) <= 1)
        m_texts.showWordsText(graphic.Text_contents().text);
}

void ComboDispatcher::dataSourceKindChanged()
{
    const QString kind = m_dataSource.Data_source_type->currentText();
    const GraphicPtr graphic = selectedGraphic();
    const GraphicList objects = boundObjects();
    QComboBox *series = m_dataSource.Batch_Series;
    if (kind == DataSourceTab::ManualItem) {
        m_dataSource.setManualControls(true);
        for (const GraphicPtr &g : objects) {
            takeBackOwnValue(*g, g == graphic);
            g->Set_Data_source_type(DataSourceCode::Fixed);
        }
        return;
    }
    m_dataSource.setManualControls(false);
    if (kind == DataSourceTab::SeriesItem) {
        ComboItems::replaceQuietly(series, DataSourceChoices::seriesItems(Data_Folder_Path));
        if (series->count() == 0) {
            Show_MessageBox(NoSeriesMessage);
            // Nothing was bound: the page shows the source the object still has.
            showSourceOf(graphic.get());
            return;
        }
        if (!graphic)
            return;
        const QString name = graphic->batch_list_name_val();
        // One never bound to a series binds when one is chosen: bound to none, its cards would go
        // on printing its own words while the run looked for a series of no name.
        if (Trim_Str(name).isEmpty()) {
            m_dataSource.askForSeries();
            return;
        }
        for (const GraphicPtr &g : objects)
            keepOwnValue(*g);
        series->setCurrentIndex(-1);
        if (const int index = series->findText(name); index >= 0) {
            series->setCurrentIndex(index);
            // Choosing the series again binds it as a pick in the list would.
            seriesChosen();
        }
        for (const GraphicPtr &g : objects)
            g->Set_Data_source_type(DataSourceCode::Series);
        return;
    }
    m_dataSource.showBindingColumns(graphic.get());
    if (!graphic)
        return;
    // A text or picture never bound to a column binds when one is chosen: the first entry shown
    // now would bind its cards to the row numbers while the card still shows its own words.
    const bool columnBefore =
        !Trim_Str(graphic->excel_col_title.value_or(QString())).isEmpty() || graphic->excel_col_indx > 0;
    if (graphic->data_source_type != DataSourceCode::BindingColumn && !columnBefore) {
        m_dataSource.askForColumn();
        return;
    }
    for (const GraphicPtr &g : objects) {
        keepOwnValue(*g);
        g->Set_Data_source_type(DataSourceCode::BindingColumn);
    }
    // A column the object was bound to before is bound again, showing its value, as a pick would.
    if (graphic->excel_col_title && series->currentIndex() >= 0)
        seriesChosen();
}

void ComboDispatcher::showSourceOf(const SKTGraphic *graphic)
{
    if (graphic) {
        m_dataSource.loadFrom(*graphic, false);
        return;
    }
    ComboItems::replaceQuietly(m_dataSource.Batch_Series, {});
    const QSignalBlocker quiet(m_dataSource.Data_source_type);
    m_dataSource.Data_source_type->setCurrentIndex(0);
    m_dataSource.setManualControls(true);
}

void ComboDispatcher::keepOwnValue(SKTGraphic &graphic)
{
    // An object about to show its source's values keeps its own as it is now, for Manual to give
    // back: a text its typed words, a picture its file.
    if (graphic.data_source_type != DataSourceCode::Fixed)
        return;
    if (graphic.kind() == SKTGraphic::Kind::Text)
        graphic.Text_Value = graphic.Text_contents().text;
    else if (graphic.kind() == SKTGraphic::Kind::Image)
        graphic.manual_file_path = graphic.FilePath();
}

void ComboDispatcher::takeBackOwnValue(SKTGraphic &graphic, bool shown)
{
    // An object that showed its source's values shows its own again. One bound before its own was
    // kept (a text holds the placeholder there, which typing never keeps; a picture of an older
    // design holds no file there) keeps what it shows.
    if (graphic.data_source_type == DataSourceCode::Fixed)
        return;
    if (graphic.kind() == SKTGraphic::Kind::Text) {
        const QString own = graphic.Text_Value.value_or(QString());
        if (own.isEmpty() || own == TextPanel::Placeholder)
            return;
        graphic.Text_contents().text = own;
        if (shown)
            showWordsOf(graphic);
    } else if (graphic.kind() == SKTGraphic::Kind::Image) {
        const QString own = graphic.manual_file_path.value_or(QString());
        if (own.isEmpty())
            return;
        static_cast<SKTImage &>(graphic).setFilePath(own);
        if (shown)
            m_pictures.setManualImagePath(own);
    } else {
        return;
    }
    m_host.Refresh_Canvas();
}

void ComboDispatcher::seriesChosen()
{
    const QString kind = m_dataSource.Data_source_type->currentText();
    QComboBox *series = m_dataSource.Batch_Series;
    const int index = series->currentIndex();
    const QString text = index >= 0 ? Trim_Str(series->currentText()) : QString();
    const GraphicPtr graphic = selectedGraphic();
    if (text.isEmpty() || !graphic)
        return;
    QString value;
    if (kind == DataSourceTab::SeriesItem)
        value = DataSourceChoices::Get_First_Value_Of_Dataset(Data_Folder_Path, text);
    else if (kind == DataSourceChoices::ExcelItem)
        value =
            DataSourceChoices::Get_First_Value_Of_Excel_Binding(m_host.document().design().binding, index);
    for (const GraphicPtr &g : boundObjects()) {
        keepOwnValue(*g);
        if (kind == DataSourceTab::SeriesItem) {
            g->Set_Data_source_type(DataSourceCode::Series);
            g->Set_Batch_List_Name(text);
            g->Set_Batch_List_Index(index);
        } else if (kind == DataSourceChoices::ExcelItem) {
            g->Set_Data_source_type(DataSourceCode::BindingColumn);
            g->Set_Excel_binding_Column(index, text);
        }
        if (g->kind() == SKTGraphic::Kind::Text)
            g->Text_contents().text = value;
    }
    if (graphic->kind() == SKTGraphic::Kind::Text) {
        showWordsOf(*graphic);
    } else if (graphic->kind() == SKTGraphic::Kind::Image) {
        static_cast<SKTImage &>(*graphic).setFilePath(value);
        m_pictures.setManualImagePath(value);
    }
    m_host.Refresh_Canvas();
    m_host.liveCanvas()->startEditingGraphic(graphic);
    m_host.Refresh_Canvas();
}

void ComboDispatcher::categoryChanged()
{
    m_cardPage.categoryChosen();
}
