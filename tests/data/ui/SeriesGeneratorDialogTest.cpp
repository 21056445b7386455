// The series generator driven by keyboard: padded sequences written to a new series, the checks
// and their messages, the corrections of the count and length fields, random lengths and the help.
#include "data/ui/Generate_List.h"
#include "data/ui/SeriesDialogDriver.h"
#include "support/KeyboardWalk.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace testsupport;

class GeneratorDialog : public WindowFixture
{
protected:
    Generate_List g{nullptr};

    // Opens the generator for a new series and runs body inside it.
    int run(const std::function<void()> &body)
    {
        modalScripts.push_front([this, body](QDialog &) {
            body();
            return g.result();
        });
        g.file_name_required = 1;
        g.file_name_Insert = 0;
        return g.Open_Wnd();
    }
    void type(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
};

TEST_F(GeneratorDialog, PaddedSequencesTakeTheWidthOfTheLongerText)
{
    EXPECT_EQ(run([&] {
                  EXPECT_EQ(g.seq_file_name->text(), QStringLiteral("Untitled"));
                  type(g.seq_file_name, "Pad");
                  type(g.from_txt, "8");
                  type(g.to_txt, "12");
                  g.manage_digit_chk->click();
                  saveArtifact(&g, QStringLiteral("series_generator.png"));
                  g.ok_button->click();
              }),
              1);
    EXPECT_EQ(readSeriesFile("Pad"), QByteArray("08\n09\n10\n11\n12\n"));

    run([&] {
        type(g.seq_file_name, "Long");
        type(g.prefix_txt, "A");
        type(g.from_txt, "001");
        type(g.to_txt, "00200");
        g.manage_digit_chk->click();
        g.ok_button->click();
    });
    const QList<QByteArray> lines = readSeriesFile("Long").split('\n');
    ASSERT_EQ(lines.size(), 201); // the last line feed leaves an empty piece
    EXPECT_EQ(lines.first(), QByteArray("A00001"));
    EXPECT_EQ(lines.at(199), QByteArray("A00200"));
}

TEST_F(GeneratorDialog, SeriesNameLabelsGoWithTheirFields)
{
    // Opened for values of the series being edited, the name fields are hidden: their labels too,
    // so no "Series name:" stands beside nothing.
    for (int required : {0, 1, 0}) {
        modalScripts.push_front([&](QDialog &) {
            EXPECT_EQ(testsupport::shownLabels(g, QStringLiteral("Series name:")), required == 1 ? 3 : 0)
                << required;
            EXPECT_EQ(g.seq_file_name->isVisibleTo(&g), required == 1);
            return 0;
        });
        g.file_name_required = required;
        g.file_name_Insert = 1;
        g.Open_Wnd();
    }
}

TEST_F(GeneratorDialog, ChecksKeepTheDialogOpenWithTheirMessages)
{
    run([&] {
        g.ok_button->click();
        type(g.from_txt, "5");
        g.ok_button->click();
        type(g.to_txt, "5");
        g.ok_button->click();
        EXPECT_TRUE(g.from_txt->hasFocus() || !g.isVisible());
        g.radioButton_Constant->click();
        EXPECT_EQ(g.const_file_name->text(), QStringLiteral("Untitled"));
        EXPECT_FALSE(g.from_txt->isEnabled());
        g.ok_button->click();
        type(g.value_txt, "x");
        type(g.const_file_name, "../escape");
        g.ok_button->click();
        g.cancel_button->click();
    });
    EXPECT_EQ(messages.messages(),
              (QStringList{"\nPlease enter valid 'From' value.", "\nPlease enter valid 'To' value.",
                           "\n'From' value must be smaller than 'To' value.", "\nPlease enter valid 'Value'.",
                           "\nThe name of a Batch Processing Series must not contain \"/\" or \"\\\"."}));
    EXPECT_TRUE(QDir(Data_Folder_Path).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(QFile::exists(QDir(Data_Folder_Path).filePath(QStringLiteral("../escape.txt"))));
}

TEST_F(GeneratorDialog, CountAndLengthFieldsCorrectWhatIsTyped)
{
    run([&] {
        g.radioButton_Constant->click();
        type(g.count_txt, "123456");
        EXPECT_EQ(g.count_txt->text(), QStringLiteral("10000"));
        EXPECT_EQ(g.count_stepper->value(), 10000);
        type(g.count_txt, "0");
        EXPECT_EQ(g.count_txt->text(), QStringLiteral("1"));
        // A pasted negative count becomes 1 rather than an empty series.
        QApplication::clipboard()->setText(QStringLiteral("-3"));
        g.count_txt->selectAll();
        QTest::keyClick(g.count_txt, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(g.count_txt->text(), QStringLiteral("1"));
        g.radioButton_Random->click();
        type(g.rand_length_txt, "47");
        EXPECT_EQ(g.rand_length_txt->text(), QStringLiteral("4"));
        QTest::keyClick(g.rand_length_stepper, Qt::Key_Up);
        EXPECT_EQ(g.rand_length_txt->text(), QStringLiteral("5"));
        type(g.rand_length_txt, "1");
        type(g.rand_count_txt, "300");
        type(g.rndm_file_name, "Dice");
        g.ok_button->click();
    });
    const QList<QByteArray> lines = readSeriesFile("Dice").trimmed().split('\n');
    ASSERT_EQ(lines.size(), 300);
    for (const QByteArray &line : lines) {
        ASSERT_EQ(line.size(), 1);
        EXPECT_GE(line[0], '1');
        EXPECT_LE(line[0], '9');
    }
}

TEST_F(GeneratorDialog, ReplacingAnExistingSeriesAsksFirst)
{
    writeSeriesFile("Keep", "old\n");
    messages.queueAnswers({false});
    run([&] {
        type(g.seq_file_name, "Keep");
        type(g.from_txt, "1");
        type(g.to_txt, "3");
        g.ok_button->click(); // No: the dialog stays, the file stays
        EXPECT_EQ(readSeriesFile("Keep"), QByteArray("old\n"));
        messages.queueAnswers({true});
        g.ok_button->click();
    });
    EXPECT_EQ(readSeriesFile("Keep"), QByteArray("1\n2\n3\n"));
}

TEST_F(GeneratorDialog, HelpExplainsTheLeadingZeros)
{
    run([&] {
        modalScripts.push_front([](QDialog &d) {
            auto *box = dynamic_cast<QMessageBox *>(&d);
            EXPECT_NE(box, nullptr);
            if (box) {
                EXPECT_EQ(box->text(),
                          QStringLiteral("Maintain number of Digits By adding 0's before smaller values. "));
                EXPECT_TRUE(box->informativeText().startsWith(
                    QStringLiteral("For example:\r\nIf you have to generate a series of barcodes")));
                EXPECT_TRUE(box->informativeText().endsWith(
                    QStringLiteral("same as the highest value in the series.")));
            }
            return 1;
        });
        g.help_btn->click();
        g.cancel_button->click();
    });
    EXPECT_TRUE(modalScripts.empty());
}
