// Builds test designs through the model: a text and a Code 128 barcode bound to series, a QR Code
// bound to a binding-table column, series files in a private DataSet folder, and ZXing decoding.
#pragma once

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "editor/DesignFileFormat.h"
#include "model/CardDesign.h"
#include "model/SKTGraphic.h"
#include "output/RunPlan.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
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

// Adds a row to the design's binding table.
inline void addRow(CardDesign &design, const ExcelBindingTable::Row &row)
{
    QList<ExcelBindingTable::Row> rows = design.binding.ListData();
    rows << row;
    const QList<int> sheetRows = design.binding.sheetRows();
    const UncomputedFormulas marks = design.binding.uncomputedFormulas();
    design.binding.setListData(rows);
    design.binding.setWorkbookOrigin(sheetRows, marks);
}

// The headings of the binding table's columns after the row number's.
inline void setTitles(CardDesign &design, const QStringList &headings)
{
    design.binding.setColumnTitles(headings);
}

// The number the sheet shows beside each row of the binding table.
inline void setSheetRows(CardDesign &design, const QList<int> &sheetRows)
{
    design.binding.setWorkbookOrigin(sheetRows, design.binding.uncomputedFormulas());
}

// Marks a cell of the binding table as a formula the workbook never computed.
inline void markUncomputed(CardDesign &design, qsizetype row, int column)
{
    UncomputedFormulas marks = design.binding.uncomputedFormulas();
    marks.add(row, column);
    design.binding.setWorkbookOrigin(design.binding.sheetRows(), marks);
}

// The rows above the first row read, as the workbook's facts give them (-1: facts not known).
inline void setRowsAbove(CardDesign &design, int rowsAbove)
{
    WorkbookFacts facts;
    if (rowsAbove >= 0) {
        facts.size = 1;
        facts.sha256 = QByteArray(64, 'a');
        facts.firstRow = rowsAbove;
    }
    design.binding.sourceFacts = facts;
}

// A run of the design whose series are in dataFolder, and whose shipped pictures are in resources.
inline std::shared_ptr<const RunPlan> planIn(const CardDesign &design, const QString &dataFolder,
                                             const RunPlan::Choices &choices = RunPlan::Choices(),
                                             const QString &resources = QString())
{
    return RunPlan::make(design, choices, RunPlan::Folders{resources, dataFolder});
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
    CardDesign design;
    QString dataFolder; // where its series are

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
        this->dataFolder = dataFolder;
        design.front << text(QRectF(10, 8, 220, 30), 1, "names");
        design.front << barcode(QPointF(8, 50), 0, 9, 1, "codes");
        design.front << barcode(QPointF(165, 75), 1, 0, 2, {}, 1);
        design.back << text(QRectF(10, 60, 220, 30), 1, "names");
        for (int i = 0; i < rows; ++i)
            batchtest::addRow(
                design, ExcelBindingTable::Row{{"Extension", QString::number(i + 1)}, {"Column1", qr[i]}});
        design.frontPage.Card_Side = doubleSided ? "2" : "1";
        design.setCardSize(QSizeF(243, 154));
    }
};

// Writes the sample design as a design file: the binding table rows go with it, and what `more`
// adds to the table.
inline QString writeDesign(const QString &path, SampleDesign &sample,
                           const std::function<void(ExcelBindingTable &)> &more = {})
{
    CardDesign design = sample.design;
    const QList<ExcelBindingTable::Row> rows = design.binding.ListData();
    design.binding = ExcelBindingTable();
    design.binding.setColumnTitles({"QR"});
    design.binding.setListData(rows);
    design.binding.Excel_Binding_Use = true;
    if (more)
        more(design.binding);
    QString error;
    EXPECT_TRUE(DesignFile::writeItems(path, DesignFileFormat::buildItems(design), &error))
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

// Two files of one card drawn by different runs: the same pixels. Files whose bytes differ are
// decoded and compared, and kept under the temporary folder when their pixels differ too.
inline void expectSamePixels(const QString &a, const QString &b)
{
    if (testsupport::readFile(a) == testsupport::readFile(b))
        return;
    const QImage x = QImage(a).convertToFormat(QImage::Format_ARGB32);
    const QImage y = QImage(b).convertToFormat(QImage::Format_ARGB32);
    EXPECT_FALSE(x.isNull()) << a.toStdString();
    if (x == y)
        return;
    const QString kept =
        QDir::temp().filePath(QStringLiteral("differing-cards-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(kept);
    const QString name = QFileInfo(a).completeBaseName();
    QFile::copy(a, QDir(kept).filePath(name + "-a.png"));
    QFile::copy(b, QDir(kept).filePath(name + "-b.png"));
    ADD_FAILURE() << "the pixels of " << name.toStdString() << " differ; both kept in " << kept.toStdString();
}

// Card k (from 1) of two batch folders of the sample: the same front and back pictures in both, and
// the front's symbols read back as row k's values.
inline void expectSameCardOfRow(const QDir &a, const QDir &b, const SampleDesign &sample, int k)
{
    const QString front = QStringLiteral("Card_%1.png").arg(k);
    const QString back = QStringLiteral("Card_%1_Back.png").arg(k);
    expectSamePixels(a.filePath(front), b.filePath(front));
    expectSamePixels(a.filePath(back), b.filePath(back));
    const QStringList found = decode(b.filePath(front));
    EXPECT_TRUE(found.contains("Code128:" + sample.codes[k - 1])) << k << found.join(" | ").toStdString();
    EXPECT_TRUE(found.contains("QRCode:" + sample.qr[k - 1])) << k << found.join(" | ").toStdString();
}

} // namespace batchtest
