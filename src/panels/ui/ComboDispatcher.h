// The one handler of the editor's combo boxes: style combos write their panel back, the data-source
// pair binds the selected object to a value, a series or a column, and the card combos set sides
// and the size list.
#pragma once

#include "model/SKTGraphic.h"

#include <QHash>
#include <QObject>

#include <functional>

class CardPagePanel;
class DataSourceTab;
class QComboBox;
class QWidget;
class InspectorHost;

class ComboDispatcher : public QObject
{
    Q_OBJECT
public:
    enum class Combo {
        Card_image_layout,
        Card_border_style,
        Card_hatch_style,
        Line_border_style,
        Line_ori_style,
        Line_cap_style,
        Text_border_style,
        Text_align_combo,
        Text_case_combo,
        shape_border_style,
        shape_hatch_style,
        Image_border_style,
        Sign_border_style,
        Data_source_type,
        Batch_Series,
        Sides_ComboBox,
        Preset_ComboBox,
        Category_ComboBox,
    };
    // The panels whose write-back a style combo runs.
    enum class Panel { Line, Text, Shape, Image, Sign };

    ComboDispatcher(InspectorHost &host, CardPagePanel &cardPage, DataSourceTab &dataSource);

    // The user's choices in a combo reach the dispatcher under its id.
    void attach(QComboBox *combo, Combo id);
    // A panel's write-back into the selected objects (Update_Line_Graphics and the others).
    void setPanelUpdate(Panel panel, std::function<void()> update);

    void comboBoxSelectionDidChange(Combo id);

    static inline const QString NoSeriesMessage =
        QStringLiteral("Please create batch processing series first.");

private:
    void dataSourceKindChanged();
    // A text's typed words and a picture's file are kept while it shows a series or column, and
    // come back with Manual.
    void keepOwnValue(SKTGraphic &graphic);
    void takeBackOwnValue(SKTGraphic &graphic);
    void seriesChosen();
    void sidesChanged();
    void categoryChanged();
    // Runs a data-source choice as one undo step over the objects it binds.
    void sourceStep(const std::function<void()> &write);
    void runPanelUpdate(Panel panel);
    GraphicPtr selectedGraphic() const;
    QWidget *outlet(const char *name) const;

    InspectorHost &m_host;
    CardPagePanel &m_cardPage;
    DataSourceTab &m_dataSource;
    QHash<int, std::function<void()>> m_updates;
};
