// The handler of the card page's combo boxes and the data-source pair: the card page's style
// combos write the page back, the data-source pair binds the selected object to a value, a series
// or a column, and the card combos set sides and the size list. The object panels handle their own
// style combos.
#pragma once

#include "model/SKTGraphic.h"

#include <QObject>

#include <functional>

class CardPagePanel;
class DataSourceTab;
class ImageSignPanel;
class TextPanel;
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
        Data_source_type,
        Batch_Series,
        Sides_ComboBox,
        Preset_ComboBox,
        Category_ComboBox,
    };

    ComboDispatcher(InspectorHost &host, CardPagePanel &cardPage, DataSourceTab &dataSource, TextPanel &texts,
                    ImageSignPanel &pictures);

    // The user's choices in a combo reach the dispatcher under its id.
    void attach(QComboBox *combo, Combo id);

    void comboBoxSelectionDidChange(Combo id);

    static inline const QString NoSeriesMessage =
        QStringLiteral("Please create batch processing series first.");

private:
    void dataSourceKindChanged();
    // The source kind, values and controls of the object (Manual without one), as loading shows them.
    void showSourceOf(const SKTGraphic *graphic);
    // A text's typed words and a picture's file are kept while it shows a series or column, and
    // come back with Manual.
    void keepOwnValue(SKTGraphic &graphic);
    // `shown`: the object the page shows, whose box shows its value again.
    void takeBackOwnValue(SKTGraphic &graphic, bool shown);
    // The objects a data-source choice binds: the one shown and, beside a text, the other texts
    // selected.
    GraphicList boundObjects() const;
    void showWordsOf(SKTGraphic &graphic);
    void seriesChosen();
    void categoryChanged();
    // Runs a data-source choice as one undo step over the objects it binds.
    void sourceStep(const std::function<void()> &write);
    GraphicPtr selectedGraphic() const;

    InspectorHost &m_host;
    CardPagePanel &m_cardPage;
    DataSourceTab &m_dataSource;
    TextPanel &m_texts;
    ImageSignPanel &m_pictures;
};
