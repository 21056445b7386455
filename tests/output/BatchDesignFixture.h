// Builds test designs through the model: a text and a Code 128 barcode bound to series, a QR Code
// bound to a binding-table column, series files in a private DataSet folder, and ZXing decoding.
#pragma once

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "editor/DesignFileFormat.h"
#include "model/SKTGraphic.h"
#include "output/BatchFillSnapshot.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace batchtest
{

inline void writeSeries(const QString &folder, const QString &name, const QByteArray &content)
{
    QDir().mkpath(folder);
    testsupport::writeFile(QDir(folder).filePath(name + ".txt"), content);
}

inline GraphicPtr text(const QRectF &bounds, int source, const QString &series = {}, int column = 0)
{
    GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Text);
    g->setBounds(bounds);
    g->_isDrawingFill = false;
    g->data_source_type = source;
    g->batch_list_name = series;
    g->excel_col_indx = column;
    return g;
}

// A barcode without header and footer; linear positions count in the symbology list order.
inline GraphicPtr barcode(const QPointF &at, int linearOr2d, int fontIndex, int source,
                          const QString &series = {}, int column = 0)
{
    GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Barcode);
    g->setBounds(QRectF(at, QSizeF(10, 10)));
    g->linear_or_2d = linearOr2d;
    g->barcode_font_index = fontIndex;
    g->show_hide_hdr = 1;
    g->show_hide_ftr = 1;
    g->linear_width_val = 10.0f; // mils: 3 pixels a module at 300 dpi
    g->qr_size_val = 60;
    g->data_source_type = source;
    g->batch_list_name = series;
    g->excel_col_indx = column;
    return g;
}

inline QString randomCode(QRandomGenerator &rng, int length)
{
    static const char alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789";
    QString s;
    for (int i = 0; i < length; ++i)
        s += QLatin1Char(alphabet[rng.bounded(int(sizeof alphabet) - 1)]);
    return s;
}

// The design of the acceptance check: front text + Code 128 on series, QR Code on Excel column 1;
// the back holds a text on the same series so that a double-sided card writes backs.
struct SampleDesign {
    QStringList names, codes, qr;
    BatchFillSnapshot::Design design;

    SampleDesign(const QString &dataFolder, int rows, bool doubleSided, quint32 seed = 7)
    {
        QRandomGenerator rng(seed);
        for (int i = 0; i < rows; ++i) {
            names << QStringLiteral("Guest %1").arg(i + 1);
            codes << randomCode(rng, 8);
            qr << QStringLiteral("https://example.com/c/") + randomCode(rng, 10);
        }
        writeSeries(dataFolder, "names", (names.join('\n') + "\n").toUtf8());
        writeSeries(dataFolder, "codes", codes.join('\n').toUtf8());
        design.dataFolder = dataFolder;
        design.front << text(QRectF(10, 8, 220, 30), 1, "names");
        design.front << barcode(QPointF(8, 50), 0, 9, 1, "codes");
        design.front << barcode(QPointF(165, 75), 1, 0, 2, {}, 1);
        design.back << text(QRectF(10, 60, 220, 30), 1, "names");
        for (int i = 0; i < rows; ++i)
            design.excelRows << BatchFillSnapshot::ExcelRow{{"Extension", QString::number(i + 1)},
                                                            {"Column1", qr[i]}};
        design.CARD_SIDE_STR = doubleSided ? "2" : "1";
        design.frontPage.Card_Size = QSizeF(243, 154);
    }
};

// Writes the sample design as a design file: the binding table rows go with it, and what `more`
// adds to the table.
inline QString writeDesign(const QString &path, SampleDesign &sample,
                           const std::function<void(ExcelBindingTable &)> &more = {})
{
    Card_Property front = sample.design.frontPage;
    Card_Property back = sample.design.backPage;
    front.Card_Side = sample.design.CARD_SIDE_STR;
    ExcelBindingTable binding;
    binding.setColumnTitles({"QR"});
    binding.setListData(sample.design.excelRows);
    binding.Excel_Binding_Use = true;
    if (more)
        more(binding);
    QString error;
    EXPECT_TRUE(DesignFile::writeItems(
        path, DesignFileFormat::buildItems(front, back, binding, sample.design.front, sample.design.back),
        &error))
        << error.toStdString();
    return path;
}

// Every symbol ZXingReader finds in the file, as "Format:text"; format narrows the search. The
// cards are upright and sharp: the rotated and scaled passes are left out (this ZXingReader aborts
// in them on some images holding two linear symbols).
inline QStringList decode(const QString &path, const QString &format = {})
{
    QStringList args{"-1", "-norotate", "-noscale"};
    if (!format.isEmpty())
        args << "-format" << format;
    QStringList found;
    for (const QString &line :
         testsupport::output("ZXingReader", args << path).split('\n', Qt::SkipEmptyParts)) {
        // "<file> <Format> \"<text>\"" on one line per symbol.
        const QString rest = line.mid(path.size()).trimmed();
        const qsizetype space = rest.indexOf(' ');
        if (space < 0)
            continue;
        QString content = rest.mid(space + 1).trimmed();
        if (content.startsWith('"') && content.endsWith('"'))
            content = content.mid(1, content.size() - 2);
        found << rest.left(space) + ":" + content;
    }
    return found;
}

// Card k (from 1) of two batch folders of the sample: the same front and back files in both, and
// the front's symbols read back as row k's values.
inline void expectSameCardOfRow(const QDir &a, const QDir &b, const SampleDesign &sample, int k)
{
    const QString front = QStringLiteral("Card_%1.png").arg(k);
    const QString back = QStringLiteral("Card_%1_Back.png").arg(k);
    EXPECT_EQ(testsupport::readFile(a.filePath(front)), testsupport::readFile(b.filePath(front))) << k;
    EXPECT_EQ(testsupport::readFile(a.filePath(back)), testsupport::readFile(b.filePath(back))) << k;
    const QStringList found = decode(b.filePath(front));
    EXPECT_TRUE(found.contains("Code128:" + sample.codes[k - 1])) << k << found.join(" | ").toStdString();
    EXPECT_TRUE(found.contains("QRCode:" + sample.qr[k - 1])) << k << found.join(" | ").toStdString();
}

} // namespace batchtest
