#include "output/OutputCheck.h"

#include "foundation/CardCodes.h"
#include "foundation/StringUtils.h"
#include "model/SKTText.h"
#include "output/BatchBarcodeSettings.h"

#include <QHash>
#include <QImage>

#include <cstdlib>

namespace
{
// Rows of one problem, gathered as the rows are read.
struct RowTally {
    int cards = 0;
    QList<int> first;
    void add(int row)
    {
        ++cards;
        if (first.size() < OutputCheck::RowsNamed)
            first.append(row + 1);
    }
};

// A barcode made once per value: rows often repeat one.
enum class BarcodeFate { Fine, NotMade, OffCard };

// Where a picture shows something other than its background, in points from its corner.
QRectF inkOf(const Picture &picture, const QColor &background)
{
    constexpr double Dpi = 144.0;
    const QImage image = picture.toImage(Dpi).convertToFormat(QImage::Format_ARGB32);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int differs = std::abs(qRed(p) - background.red()) +
                                std::abs(qGreen(p) - background.green()) +
                                std::abs(qBlue(p) - background.blue());
            if (qAlpha(p) < 128 || differs < 96)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return {};
    const double k = 72.0 / Dpi;
    return QRectF(left * k, top * k, (right - left + 1) * k, (bottom - top + 1) * k);
}

class ObjectCheck
{
public:
    ObjectCheck(const BatchFillSnapshot &snapshot, const BatchFiller::BarcodeMaker &maker,
                OutputCheck::Report &report)
        : m_snapshot(snapshot), m_maker(maker), m_report(report)
    {
    }

    void checkSide(const GraphicList &side, bool back)
    {
        for (const GraphicPtr &g : side) {
            // A hidden object, or one left off the output, shows nothing, right or wrong.
            if (g && g->ctrl_is_visible && g->print_object == 0 && BatchFillSnapshot::isBindable(*g))
                checkObject(*g, back);
        }
    }

private:
    void add(const QString &what, const RowTally &tally)
    {
        if (tally.cards > 0)
            m_report.problems.append({what, tally.cards, tally.first});
    }

    // The rows the object's source has; -1 when the object is not filled from data.
    int sourceRows(const SKTGraphic &g) const
    {
        if (g.data_source_type == DataSourceCode::Series && m_snapshot.Use_Data_Sheet_Values)
            return m_snapshot.seriesRows(g.batch_list_name_val());
        if (g.data_source_type == DataSourceCode::BindingColumn && m_snapshot.Use_Excel_Binding_Values)
            return g.excel_col_indx < 0 ? 0 : m_snapshot.Excel_table_rows;
        return -1;
    }

    QString value(const SKTGraphic &g, int row) const
    {
        return Trim_Str(g.data_source_type == DataSourceCode::Series
                            ? m_snapshot.Get_sel_row_col_value_of_dataset(row, g.batch_list_name_val())
                            : m_snapshot.Get_sel_row_col_value_of_Excel(row, g.excel_col_indx));
    }

    void checkObject(const SKTGraphic &g, bool back)
    {
        const int rows = sourceRows(g);
        if (rows < 0)
            return;
        const QString name = OutputCheck::objectName(g, back, &m_snapshot.design().excelTitles);
        const int total = m_snapshot.Total_Batch_Excel_Card;
        // A missing column is reported on its own, not again as a short source.
        if (g.data_source_type != DataSourceCode::BindingColumn || g.excel_col_indx >= 0) {
            RowTally past;
            for (int r = rows; r < total; ++r)
                past.add(r);
            add(QStringLiteral("%1 is blank past row %2, where its source ends.").arg(name).arg(rows), past);
        }
        RowTally cut, notMade, offCard;
        QHash<QString, BarcodeFate> made;
        for (int r = 0; r < std::min(rows, total); ++r) {
            const QString v = value(g, r);
            if (v.isEmpty())
                continue;
            if (g.kind() == SKTGraphic::Kind::Text && !static_cast<const SKTText &>(g).showsWhole(v))
                cut.add(r);
            if (g.kind() != SKTGraphic::Kind::Barcode)
                continue;
            auto it = made.find(v);
            if (it == made.end())
                it = made.insert(v, barcodeFate(g, v));
            if (*it == BarcodeFate::NotMade)
                notMade.add(r);
            else if (*it == BarcodeFate::OffCard)
                offCard.add(r);
        }
        add(QStringLiteral("%1 does not fit its box and is cut.").arg(name), cut);
        add(QStringLiteral("%1 cannot be made from the row's value.").arg(name), notMade);
        add(QStringLiteral("%1 runs off the card.").arg(name), offCard);
    }

    BarcodeFate barcodeFate(const SKTGraphic &g, const QString &v) const
    {
        if (!m_maker)
            return BarcodeFate::Fine;
        const BarcodeResult made =
            m_maker(BatchBarcodeSettings::Set_Barcode_Prop_To_Control(g), v, g.header_val.value_or(QString()),
                    g.footer_val.value_or(QString()));
        if (!made.ok())
            return BarcodeFate::NotMade;
        // Drawn at its own size from the object's corner, as the card draws it; a blank margin past
        // the card's edge loses nothing.
        const QRectF ink = inkOf(made.picture, g.barcode_back_clr_val.value_or(QColor(Qt::white)));
        const QRectF card = m_snapshot.design().cardArea.adjusted(-0.5, -0.5, 0.5, 0.5);
        return ink.isEmpty() || card.contains(ink.translated(g.bounds().topLeft())) ? BarcodeFate::Fine
                                                                                    : BarcodeFate::OffCard;
    }

    const BatchFillSnapshot &m_snapshot;
    const BatchFiller::BarcodeMaker &m_maker;
    OutputCheck::Report &m_report;
};
} // namespace

QString OutputCheck::objectName(const SKTGraphic &graphic, bool back, const QStringList *excelTitles)
{
    QString kind = QStringLiteral("picture");
    if (graphic.kind() == SKTGraphic::Kind::Barcode) {
        kind = QStringLiteral("barcode");
    } else if (graphic.kind() == SKTGraphic::Kind::Text) {
        const QString words = Trim_Str(graphic.textContentsForDrawing().text).simplified();
        kind = words.isEmpty() ? QStringLiteral("text")
                               : QStringLiteral("text \"%1\"")
                                     .arg(words.size() > 24 ? words.left(23) + QChar(0x2026) : words);
    }
    QString name =
        QStringLiteral("The %1 on the %2").arg(kind, back ? QStringLiteral("back") : QStringLiteral("front"));
    if (!excelTitles)
        return name;
    if (graphic.data_source_type == DataSourceCode::Series)
        return name + QStringLiteral(" (series \"%1\")").arg(graphic.batch_list_name_val());
    const int k = graphic.excel_col_indx;
    if (k >= 0 && k < excelTitles->size())
        return name + QStringLiteral(" (column \"%1\")").arg(excelTitles->at(k));
    return name + QStringLiteral(" (column %1)").arg(k);
}

OutputCheck::Report OutputCheck::check(const BatchFillSnapshot &snapshot,
                                       const BatchFiller::BarcodeMaker &maker)
{
    Report report;
    if (!snapshot.isBatch())
        return report;
    report.totalCards = snapshot.Total_Batch_Excel_Card;
    if (snapshot.Use_Excel_Binding_Values) {
        for (const BatchFillSnapshot::MissingColumn &m : snapshot.missingColumns()) {
            if ((m.back && !snapshot.backTakesPart()) || !m.object->ctrl_is_visible)
                continue;
            Problem p{QStringLiteral("%1 is blank: the workbook has no %2.")
                          .arg(objectName(*m.object, m.back, nullptr), m.column),
                      report.totalCards,
                      {}};
            for (int r = 0; r < std::min(RowsNamed, report.totalCards); ++r)
                p.firstRows.append(r + 1);
            report.problems.append(p);
        }
    }
    ObjectCheck objects(snapshot, maker, report);
    objects.checkSide(snapshot.design().front, false);
    if (snapshot.backTakesPart())
        objects.checkSide(snapshot.design().back, true);
    return report;
}

QString OutputCheck::Report::text(int most) const
{
    QStringList parts;
    for (const Problem &p : problems) {
        if (most >= 0 && parts.size() == most) {
            parts.append(QStringLiteral("… and %1 more.").arg(problems.size() - most));
            break;
        }
        QStringList rows;
        for (int r : p.firstRows)
            rows.append(QString::number(r));
        if (p.cards > p.firstRows.size())
            rows.append(QStringLiteral("…"));
        parts.append(QStringLiteral("%1\n%2 of %3 cards (rows %4)")
                         .arg(p.what)
                         .arg(p.cards)
                         .arg(totalCards)
                         .arg(rows.join(QStringLiteral(", "))));
    }
    return parts.join(QStringLiteral("\n\n"));
}
