// The data-source tab of texts and pictures: fixed value, series or Excel column, the chosen
// series or column, the viewer and help buttons, and the box of manual picture controls.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class SKTGraphic;
class DesignListener;
class InspectorHost;

class DataSourceTab : public QObject
{
    Q_OBJECT
public:
    explicit DataSourceTab(InspectorHost &host);
    ~DataSourceTab() override;

    // Loads the source kind and the chosen series or column of an object, with the list of that
    // kind and the controls a bound object allows. With byIndexFirst the entry at the object's
    // stored slot is deselected before the series is chosen by name (texts do so).
    void loadFrom(const SKTGraphic &graphic, bool byIndexFirst);
    // Lists the binding table's columns without telling anyone, and shows the column an object
    // (when given) is bound to, following its heading.
    void showBindingColumns(const SKTGraphic *graphic);
    // Shows no column, or no series, asking for one: nothing is bound until the user picks it.
    void askForColumn();
    void askForSeries();
    // Enables what a fixed value needs (typing, the manual picture box) or what a binding needs
    // (the list of values and its viewer).
    void setManualControls(bool manual);
    // "Excel" among the source kinds, or not; choosing nothing. The tab itself offers it while
    // the design binds a workbook (followDesign).
    void offerExcel(bool offered);
    // Who shows a text's words learns whether they are typed or bound (the text panel).
    void onWordsBound(std::function<void(bool bound)> show) { m_wordsBound = std::move(show); }
    // The tab's title, shown above the controls.
    void setTitle(const QString &title);

    // Shows the chosen series or the binding table.
    void View_batch_Series_Button();
    // The help text on data sources.
    void Data_Source_Help_Button();

    static inline const QString ManualItem = QStringLiteral("Manual");
    static inline const QString SeriesItem = QStringLiteral("Series");
    static inline const QString ChooseColumnPrompt = QStringLiteral("Choose a column");
    static inline const QString ChooseSeriesPrompt = QStringLiteral("Choose a series");
    static inline const QString SelectSeriesMessage = QStringLiteral("Please select the series.");
    static inline const QString BoundWordsTip =
        QStringLiteral("The words come from the chosen series or column: choose Manual to type them.");
    static inline const QString HelpTitle = QStringLiteral("Batch Processing Settings Help :");
    static inline const QString HelpText =
        QStringLiteral("Select Data Source as 'Manual' to enter value manually, Select 'Batch Processing "
                       "Series' to fetch the value from the list of existing Batch Processing Series.");

    QLabel *data_source_title = nullptr;
    QComboBox *Data_source_type = nullptr;
    QComboBox *Batch_Series = nullptr;
    QPushButton *view_series_btn = nullptr;
    QPushButton *help_btn = nullptr;
    // Other panels put their manual picture controls into this box.
    QGroupBox *manual_brws_box = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The series list read again from the data folder while it lists series, the chosen one kept.
    void listSeriesAgain();
    void askFor(const QString &prompt);
    // Offers "Excel" as the design's binding says, when that changed since the tab last looked.
    void followDesign();

    InspectorHost &m_host;
    std::unique_ptr<DesignListener> m_designWatch;
    std::optional<bool> m_designBindsWorkbook;
    std::function<void(bool bound)> m_wordsBound;
};
