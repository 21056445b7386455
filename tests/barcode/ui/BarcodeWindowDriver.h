// Drives the barcode window's controls as a user would (pop-ups, typing, steppers) and reads a
// stored barcode picture back with ZXingReader.
#pragma once

#include "barcode/SymbolDecoder.h"
#include "barcode/ui/Barcode_Gen.h"
#include "foundation/ui/ComboItems.h"
#include "foundation/ui/StepperField.h"
#include "model/SKTGraphic.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace barcodedriver
{

// Picks an item of a combo box as a click on it would.
inline void choose(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

inline void chooseType(Barcode_Gen &window, const QString &title)
{
    choose(window.barcodeTypePopup, title);
}

// Types over a field's text; letters beyond ASCII arrive as a keyboard layout sends them.
inline void retype(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(field, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Types a number into a stepper's field and commits it with Return.
inline void typeNumber(StepperField *field, const QString &text)
{
    auto *edit = field->findChild<QLineEdit *>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Ticks or clears a check box with the space bar, as keyboard users do.
inline void toggle(QCheckBox *box)
{
    QTest::keyClick(box, Qt::Key_Space);
}

using ComboItems::itemsOf;

// What ZXingReader reads in a picture ("" for nothing). Downscaled copies of a large card make it
// report one linear symbol twice, which this version cannot handle: full size only.
inline QString zxingText(const QString &path)
{
    const QStringList options{QStringLiteral("-norotate"), QStringLiteral("-noscale")};
    return SymbolDecoder::unescapeZXing(SymbolDecoder::zxingEscapedText({path}, options).value(path));
}

// The object's stored picture at 600 dpi on white, saved for reviewers, read back by ZXingReader.
inline QString decodeStoredPicture(const SKTGraphic &object, const QString &artifact)
{
    if (!object._barcode_image)
        return QStringLiteral("<no picture>");
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    const QString path = QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + artifact;
    object._barcode_image->toImage(600, Qt::white).save(path);
    return zxingText(path);
}

} // namespace barcodedriver
