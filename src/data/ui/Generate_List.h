// The series generator: sequential numbers with prefix, suffix and leading zeros, a constant
// repeated, or random numbers of a given length, into a new series file or the manager's open list.
#pragma once

#include "data/SeriesGenerator.h"

#include <QDialog>

#include <functional>

class BatchWizard;
class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class Generate_List : public QDialog
{
    Q_OBJECT
public:
    // manager receives the values when no file is wanted; it may be null for the main window's use.
    explicit Generate_List(BatchWizard *manager, QWidget *parent = nullptr);

    int Open_Wnd();

    void Sequintial_Radio_Pressed();
    void Constant_Radio_Pressed();
    void Random_Radio_Pressed();
    void Help_btn_Pressed();
    void OKPressed();
    void CancelPressed() { done(0); }

    int file_name_required = 0; // 1: write a new series file
    int file_name_Insert = 0;   // 1: reload the manager's list of series afterwards

    QRadioButton *radioButton_Sequntial = nullptr;
    QRadioButton *radioButton_Constant = nullptr;
    QRadioButton *radioButton_Random = nullptr;
    QLineEdit *prefix_txt = nullptr;
    QLineEdit *suffix_txt = nullptr;
    QLineEdit *from_txt = nullptr;
    QLineEdit *to_txt = nullptr;
    QLineEdit *value_txt = nullptr;
    QLineEdit *count_txt = nullptr;
    QSpinBox *count_stepper = nullptr;
    QLineEdit *rand_prefix_txt = nullptr;
    QLineEdit *rand_suffix_txt = nullptr;
    QLineEdit *rand_length_txt = nullptr;
    QSpinBox *rand_length_stepper = nullptr;
    QLineEdit *rand_count_txt = nullptr;
    QSpinBox *rand_count_stepper = nullptr;
    QCheckBox *manage_digit_chk = nullptr;
    QPushButton *help_btn = nullptr;
    QLineEdit *seq_file_name = nullptr;
    QLineEdit *const_file_name = nullptr;
    QLineEdit *rndm_file_name = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

    // How often the progress of a long generation is shown, in milliseconds.
    static constexpr int ProgressRefreshMs = 100;

private:
    enum class Mode { Sequential, Constant, Random };
    using Generator = std::function<GeneratorResult(const GeneratedValueSink &)>;
    Generator generator() const;
    qint64 valueCount() const;
    // Runs work on a worker under the please-wait sheet, which counts the values as work hands
    // them to its sink. False when the program was told to quit meanwhile.
    bool runWithProgress(const Generator &work, GeneratorResult *result);
    bool generateFile();
    bool generateList();
    void buildLayout();
    QLabel *gridLabel(const QString &text);
    void makeSequentialBox(QGridLayout *grid, int &row);
    void makeConstantBox(QGridLayout *grid, int &row);
    void makeRandomBox(QGridLayout *grid, int &row);
    QHBoxLayout *makeButtonRow();
    void connectControls();
    void chooseMode(Mode mode, bool touchNames);
    void countEdited(QLineEdit *field, QSpinBox *stepper);
    void lengthEdited();
    Mode mode() const;
    QLineEdit *nameField() const;
    QLineEdit *fieldNamed(const QString &field) const;

    BatchWizard *m_manager;
};
