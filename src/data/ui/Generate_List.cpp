#include "data/ui/Generate_List.h"

#include "data/SeriesFiles.h"
#include "data/SeriesGenerator.h"
#include "data/ui/BatchWizard.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/WorkerRun.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "foundation/ui/WindowLook.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <atomic>

namespace
{
QLineEdit *lineField(const QString &name, QWidget *parent)
{
    auto *f = new QLineEdit(parent);
    f->setObjectName(name);
    return f;
}

QSpinBox *stepper(const QString &name, int max, QWidget *parent)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(1, max);
    s->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    s->setFixedWidth(22);
    s->setKeyboardTracking(false);
    return s;
}
} // namespace

Generate_List::Generate_List(BatchWizard *manager, QWidget *parent) : QDialog(parent), m_manager(manager)
{
    setObjectName(QStringLiteral("Generate_List"));
    setWindowTitle(QStringLiteral("Generate Series"));
    WindowLook::applyBackground(this);
    buildLayout();
}

// One grid of three groups, each a radio button over its fields, and the buttons below. Controls
// are made in tab order.
void Generate_List::buildLayout()
{
    auto *grid = new QGridLayout;
    int row = 0;
    makeSequentialBox(grid, row);
    makeConstantBox(grid, row);
    makeRandomBox(grid, row);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(makeButtonRow());
    connectControls();
}

QLabel *Generate_List::gridLabel(const QString &text)
{
    return new QLabel(text, this);
}

// Numbers from, to, with prefix, suffix and leading zeros.
void Generate_List::makeSequentialBox(QGridLayout *grid, int &r)
{
    radioButton_Sequntial = new QRadioButton(QStringLiteral("Sequential numbers"), this);
    radioButton_Sequntial->setObjectName(QStringLiteral("radioButton_Sequntial"));
    grid->addWidget(radioButton_Sequntial, r++, 0, 1, 4);
    seq_file_name = lineField(QStringLiteral("seq_file_name"), this);
    QLabel *seqLabel = gridLabel(QStringLiteral("Series name:"));
    seqLabel->setBuddy(seq_file_name);
    grid->addWidget(seqLabel, r, 0);
    grid->addWidget(seq_file_name, r++, 1, 1, 3);
    prefix_txt = lineField(QStringLiteral("prefix_txt"), this);
    suffix_txt = lineField(QStringLiteral("suffix_txt"), this);
    grid->addWidget(gridLabel(QStringLiteral("Prefix:")), r, 0);
    grid->addWidget(prefix_txt, r, 1);
    grid->addWidget(gridLabel(QStringLiteral("Suffix:")), r, 2);
    grid->addWidget(suffix_txt, r++, 3);
    from_txt = lineField(QStringLiteral("from_txt"), this);
    to_txt = lineField(QStringLiteral("to_txt"), this);
    grid->addWidget(gridLabel(QStringLiteral("From:")), r, 0);
    grid->addWidget(from_txt, r, 1);
    grid->addWidget(gridLabel(QStringLiteral("To:")), r, 2);
    grid->addWidget(to_txt, r++, 3);
    manage_digit_chk = new QCheckBox(QStringLiteral("Same number of digits (leading zeros)"), this);
    manage_digit_chk->setObjectName(QStringLiteral("manage_digit_chk"));
    help_btn = new QPushButton(QStringLiteral("?"), this);
    help_btn->setObjectName(QStringLiteral("help_btn"));
    help_btn->setAutoDefault(false);
    help_btn->setFixedWidth(28);
    auto *digits = new QHBoxLayout;
    digits->addWidget(manage_digit_chk);
    digits->addWidget(help_btn);
    digits->addStretch();
    grid->addLayout(digits, r++, 1, 1, 3);
}

// One value repeated a number of times.
void Generate_List::makeConstantBox(QGridLayout *grid, int &r)
{
    radioButton_Constant = new QRadioButton(QStringLiteral("Constant value"), this);
    radioButton_Constant->setObjectName(QStringLiteral("radioButton_Constant"));
    grid->addWidget(radioButton_Constant, r++, 0, 1, 4);
    const_file_name = lineField(QStringLiteral("const_file_name"), this);
    QLabel *constLabel = gridLabel(QStringLiteral("Series name:"));
    constLabel->setBuddy(const_file_name);
    grid->addWidget(constLabel, r, 0);
    grid->addWidget(const_file_name, r++, 1, 1, 3);
    value_txt = lineField(QStringLiteral("value_txt"), this);
    count_txt = lineField(QStringLiteral("count_txt"), this);
    count_stepper = stepper(QStringLiteral("count_stepper"), 10000, this);
    grid->addWidget(gridLabel(QStringLiteral("Value:")), r, 0);
    grid->addWidget(value_txt, r, 1);
    grid->addWidget(gridLabel(QStringLiteral("Count:")), r, 2);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(count_txt);
    countRow->addWidget(count_stepper);
    grid->addLayout(countRow, r++, 3);
}

// Random numbers of a number of digits, with prefix and suffix.
void Generate_List::makeRandomBox(QGridLayout *grid, int &r)
{
    radioButton_Random = new QRadioButton(QStringLiteral("Random numbers"), this);
    radioButton_Random->setObjectName(QStringLiteral("radioButton_Random"));
    grid->addWidget(radioButton_Random, r++, 0, 1, 4);
    rndm_file_name = lineField(QStringLiteral("rndm_file_name"), this);
    QLabel *rndmLabel = gridLabel(QStringLiteral("Series name:"));
    rndmLabel->setBuddy(rndm_file_name);
    grid->addWidget(rndmLabel, r, 0);
    grid->addWidget(rndm_file_name, r++, 1, 1, 3);
    rand_prefix_txt = lineField(QStringLiteral("rand_prefix_txt"), this);
    rand_suffix_txt = lineField(QStringLiteral("rand_suffix_txt"), this);
    grid->addWidget(gridLabel(QStringLiteral("Prefix:")), r, 0);
    grid->addWidget(rand_prefix_txt, r, 1);
    grid->addWidget(gridLabel(QStringLiteral("Suffix:")), r, 2);
    grid->addWidget(rand_suffix_txt, r++, 3);
    rand_length_txt = lineField(QStringLiteral("rand_length_txt"), this);
    rand_length_stepper = stepper(QStringLiteral("rand_length_stepper"), 9, this);
    rand_count_txt = lineField(QStringLiteral("rand_count_txt"), this);
    rand_count_stepper = stepper(QStringLiteral("rand_count_stepper"), 10000, this);
    grid->addWidget(gridLabel(QStringLiteral("Digits:")), r, 0);
    auto *lengthRow = new QHBoxLayout;
    lengthRow->addWidget(rand_length_txt);
    lengthRow->addWidget(rand_length_stepper);
    grid->addLayout(lengthRow, r, 1);
    grid->addWidget(gridLabel(QStringLiteral("Count:")), r, 2);
    auto *randCountRow = new QHBoxLayout;
    randCountRow->addWidget(rand_count_txt);
    randCountRow->addWidget(rand_count_stepper);
    grid->addLayout(randCountRow, r++, 3);
}

QHBoxLayout *Generate_List::makeButtonRow()
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_button->setObjectName(QStringLiteral("cancel_button"));
    cancel_button->setAutoDefault(false);
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setObjectName(QStringLiteral("ok_button"));
    ok_button->setDefault(true);
    buttons->addWidget(cancel_button);
    buttons->addWidget(ok_button);
    return buttons;
}

void Generate_List::connectControls()
{
    connect(radioButton_Sequntial, &QRadioButton::clicked, this, &Generate_List::Sequintial_Radio_Pressed);
    connect(radioButton_Constant, &QRadioButton::clicked, this, &Generate_List::Constant_Radio_Pressed);
    connect(radioButton_Random, &QRadioButton::clicked, this, &Generate_List::Random_Radio_Pressed);
    connect(help_btn, &QPushButton::clicked, this, &Generate_List::Help_btn_Pressed);
    connect(ok_button, &QPushButton::clicked, this, &Generate_List::OKPressed);
    connect(cancel_button, &QPushButton::clicked, this, &Generate_List::CancelPressed);
    connect(count_txt, &QLineEdit::textEdited, this, [this] { countEdited(count_txt, count_stepper); });
    connect(rand_count_txt, &QLineEdit::textEdited, this,
            [this] { countEdited(rand_count_txt, rand_count_stepper); });
    connect(rand_length_txt, &QLineEdit::textEdited, this, &Generate_List::lengthEdited);
    // A stepper's step writes its value into the field beside it.
    const QList<std::pair<QSpinBox *, QLineEdit *>> pairs{{count_stepper, count_txt},
                                                          {rand_length_stepper, rand_length_txt},
                                                          {rand_count_stepper, rand_count_txt}};
    for (const auto &[s, f] : pairs)
        connect(s, &QSpinBox::valueChanged, f, [f = f](int v) { f->setText(QString::number(v)); });
}

int Generate_List::Open_Wnd()
{
    for (QLineEdit *name : {seq_file_name, const_file_name, rndm_file_name}) {
        name->clear();
        name->setVisible(file_name_required == 1);
    }
    // A name's label comes and goes with its field.
    for (QLabel *label : findChildren<QLabel *>()) {
        if (label->buddy() == seq_file_name || label->buddy() == const_file_name ||
            label->buddy() == rndm_file_name)
            label->setVisible(file_name_required == 1);
    }
    if (file_name_required == 1)
        seq_file_name->setText(QStringLiteral("Untitled"));
    manage_digit_chk->setChecked(false);
    for (QLineEdit *f :
         {prefix_txt, suffix_txt, from_txt, to_txt, value_txt, rand_prefix_txt, rand_suffix_txt})
        f->clear();
    for (QLineEdit *f : {count_txt, rand_length_txt, rand_count_txt})
        f->setText(QStringLiteral("1"));
    for (QSpinBox *s : {count_stepper, rand_length_stepper, rand_count_stepper}) {
        const QSignalBlocker block(s);
        s->setValue(1);
    }
    chooseMode(Mode::Sequential, false);
    prefix_txt->setFocus();
    const int result = ModalRunner::exec(*this);
    hide();
    return result;
}

void Generate_List::Sequintial_Radio_Pressed()
{
    chooseMode(Mode::Sequential, true);
}

void Generate_List::Constant_Radio_Pressed()
{
    chooseMode(Mode::Constant, true);
}

void Generate_List::Random_Radio_Pressed()
{
    chooseMode(Mode::Random, true);
}

void Generate_List::chooseMode(Mode m, bool touchNames)
{
    radioButton_Sequntial->setChecked(m == Mode::Sequential);
    radioButton_Constant->setChecked(m == Mode::Constant);
    radioButton_Random->setChecked(m == Mode::Random);
    const QList<QWidget *> seq{seq_file_name, prefix_txt, suffix_txt,      from_txt,
                               to_txt,        help_btn,   manage_digit_chk};
    const QList<QWidget *> con{const_file_name, value_txt, count_txt, count_stepper};
    const QList<QWidget *> rnd{rndm_file_name,      rand_prefix_txt, rand_suffix_txt,   rand_length_txt,
                               rand_length_stepper, rand_count_txt,  rand_count_stepper};
    for (QWidget *w : seq)
        w->setEnabled(m == Mode::Sequential);
    for (QWidget *w : con)
        w->setEnabled(m == Mode::Constant);
    for (QWidget *w : rnd)
        w->setEnabled(m == Mode::Random);
    if (touchNames && Trim_Str(nameField()->text()).isEmpty())
        nameField()->setText(QStringLiteral("Untitled"));
}

Generate_List::Mode Generate_List::mode() const
{
    if (radioButton_Sequntial->isChecked())
        return Mode::Sequential;
    return radioButton_Constant->isChecked() ? Mode::Constant : Mode::Random;
}

QLineEdit *Generate_List::nameField() const
{
    switch (mode()) {
    case Mode::Sequential:
        return seq_file_name;
    case Mode::Constant:
        return const_file_name;
    case Mode::Random:
        break;
    }
    return rndm_file_name;
}

void Generate_List::countEdited(QLineEdit *f, QSpinBox *s)
{
    QString text = SeriesGenerator::checkCountText(f->text());
    // A count below 1 would make an empty series without a word; it becomes 1.
    if (SeriesGenerator::readNumber(text) < 1)
        text = QStringLiteral("1");
    if (text != f->text())
        f->setText(text);
    const QSignalBlocker block(s);
    s->setValue(SeriesGenerator::readNumber(text));
}

void Generate_List::lengthEdited()
{
    QString text = SeriesGenerator::checkLengthText(rand_length_txt->text());
    if (SeriesGenerator::readNumber(text) < 1)
        text = QStringLiteral("1");
    if (text != rand_length_txt->text())
        rand_length_txt->setText(text);
    const QSignalBlocker block(rand_length_stepper);
    rand_length_stepper->setValue(SeriesGenerator::readNumber(text));
}

void Generate_List::Help_btn_Pressed()
{
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("Leading Zeros"));
    box.setText(SeriesGenerator::HelpMessage);
    box.setInformativeText(SeriesGenerator::HelpInformative);
    box.setStandardButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("&OK")); // a mnemonic, as every box has
    ModalRunner::exec(box);
}

QLineEdit *Generate_List::fieldNamed(const QString &name) const
{
    const Mode m = mode();
    if (name == QStringLiteral("from"))
        return from_txt;
    if (name == QStringLiteral("to"))
        return to_txt;
    if (name == QStringLiteral("value"))
        return value_txt;
    if (name == QStringLiteral("length"))
        return rand_length_txt;
    if (name == QStringLiteral("count"))
        return m == Mode::Random ? rand_count_txt : count_txt;
    return nameField();
}

void Generate_List::OKPressed()
{
    const Mode m = mode();
    // Typed counts below 1 count as 1, as the edit check leaves them.
    for (QLineEdit *f : {count_txt, rand_count_txt})
        if (!f->text().isEmpty() && SeriesGenerator::isWholeNumber(f->text()) &&
            SeriesGenerator::readNumber(f->text()) < 1)
            f->setText(QStringLiteral("1"));
    GeneratorResult checked;
    switch (m) {
    case Mode::Sequential:
        checked = SeriesGenerator::checkSequential(from_txt->text(), to_txt->text());
        break;
    case Mode::Constant:
        checked = SeriesGenerator::checkConstant(value_txt->text(), count_txt->text());
        break;
    case Mode::Random:
        checked = SeriesGenerator::checkRandom(rand_length_txt->text(), rand_count_txt->text());
        break;
    }
    if (!checked.ok()) {
        Show_MessageBox(checked.message);
        fieldNamed(checked.field)->setFocus();
        return;
    }
    if (!(file_name_required == 1 ? generateFile() : generateList()))
        return;
    if (file_name_Insert == 1 && m_manager)
        m_manager->Fill_List();
    done(1);
}

Generate_List::Generator Generate_List::generator() const
{
    // The fields are read here, on the window's thread; the values are made on a worker.
    const Mode m = mode();
    const QString from = from_txt->text(), to = to_txt->text(), prefix = prefix_txt->text(),
                  suffix = suffix_txt->text(), value = value_txt->text(), count = count_txt->text(),
                  randPrefix = rand_prefix_txt->text(), randSuffix = rand_suffix_txt->text(),
                  length = rand_length_txt->text(), randCount = rand_count_txt->text();
    const bool zeros = manage_digit_chk->isChecked();
    return [=](const GeneratedValueSink &sink) {
        switch (m) {
        case Mode::Sequential:
            return SeriesGenerator::sequential(from, to, prefix, suffix, zeros, sink);
        case Mode::Constant:
            return SeriesGenerator::constant(value, count, sink);
        case Mode::Random:
            break;
        }
        return SeriesGenerator::random(randPrefix, randSuffix, length, randCount, sink);
    };
}

qint64 Generate_List::valueCount() const
{
    switch (mode()) {
    case Mode::Sequential:
        return qint64(SeriesGenerator::readNumber(to_txt->text())) -
               SeriesGenerator::readNumber(from_txt->text()) + 1;
    case Mode::Constant:
        return SeriesGenerator::readNumber(count_txt->text());
    case Mode::Random:
        break;
    }
    return SeriesGenerator::readNumber(rand_count_txt->text());
}

bool Generate_List::runWithProgress(const std::function<GeneratorResult(const GeneratedValueSink &)> &work,
                                    GeneratorResult *result)
{
    std::atomic<qint64> made{0};
    std::atomic<bool> quitting{false};
    const qint64 total = std::max<qint64>(valueCount(), 0);
    PleaseWaitSheet wait(this);
    const auto show = [&] {
        if (wait.window())
            wait.window()->modeless_msg_lbl->setText(
                QStringLiteral("Generating values: %L1 of %L2").arg(made.load()).arg(total));
    };
    show();
    WorkerRun::Options options;
    options.tickMs = ProgressRefreshMs;
    options.tick = show;
    options.quit = [&quitting] { quitting = true; };
    WorkerRun::run(
        [&] {
            *result = work([&](const QString &) {
                ++made;
                return !quitting.load();
            });
        },
        options);
    return !quitting.load();
}

bool Generate_List::generateFile()
{
    const QString name = nameField()->text();
    if (const QString bad = SeriesFiles::checkName(name); !bad.isEmpty()) {
        Show_MessageBox(bad);
        nameField()->setFocus();
        return false;
    }
    const QString folder = Data_Folder_Path;
    const SeriesInUseTest inUse = seriesInUseTest(m_manager);
    if (QFileInfo::exists(SeriesFiles::filePath(folder, name))) {
        // Replacing a series a design reads or a manager edits, here or in another instance, is
        // refused as updating it is.
        if (inUse(name)) {
            Show_MessageBox(SeriesFiles::MsgCantUpdateInUse);
            nameField()->setFocus();
            return false;
        }
        if (!Ask_YES_NO_Keeping(SeriesFiles::MsgAlreadyExists))
            return false;
    }
    const Generator make = generator();
    SeriesResult written;
    GeneratorResult made;
    const bool finished = runWithProgress(
        [&](const GeneratedValueSink &counted) {
            written = SeriesFiles::writeNew(
                folder, name,
                [&](const SeriesValueWriter &write) {
                    made = make([&](const QString &v) { return counted(v) && write(v); });
                    return made.ok();
                },
                [](const QString &) { return true; }, // asked above
                false, inUse);
            return made;
        },
        &made);
    if (!finished || written.ok())
        return finished;
    Show_MessageBox(!made.message.isEmpty()     ? made.message
                    : written.message.isEmpty() ? SeriesFiles::MsgFileAccess
                                                : written.message);
    return false;
}

bool Generate_List::generateList()
{
    const Generator make = generator();
    QStringList values;
    GeneratorResult made;
    const bool finished = runWithProgress(
        [&](const GeneratedValueSink &counted) {
            return make([&](const QString &v) {
                values.append(v);
                return counted(v);
            });
        },
        &made);
    if (!finished)
        return false;
    if (!made.ok()) {
        if (!made.message.isEmpty())
            Show_MessageBox(made.message);
        return false;
    }
    if (m_manager)
        m_manager->addValues(std::move(values));
    return true;
}
