#include "data/ui/Data_From_Excel.h"

#include "data/ExcelBindingTable.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace
{
// The binding table as the view sees it: column 0 the row number, column k the cells keyed
// Columnk; edits go straight into the table that the card filling reads.
class BindingTableModel : public QAbstractTableModel
{
public:
    BindingTableModel(ExcelBindingTable *table, QObject *parent) : QAbstractTableModel(parent), m_table(table)
    {
    }

    void reload()
    {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : m_table->rowCount();
    }
    int columnCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : m_table->columnCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return QVariant();
        return m_table->objectValue(index.column(), index.row());
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole)
            return false;
        if (!m_table->setObjectValue(value.toString(), index.column(), index.row())) {
            Show_NSLog_Message(QStringLiteral("Invalid parameter not satisfying: %1")
                                   .arg(QStringLiteral("pRowIndex >= 0 && pRowIndex < [ListData count]")));
            return false;
        }
        emit dataChanged(index, index);
        return true;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal)
            return QVariant();
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return QVariant();
        return m_table->columnTitles().value(section);
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        // The row number is the table's own; only cells read from the workbook are corrected.
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() > 0)
            f |= Qt::ItemIsEditable;
        return f;
    }

private:
    ExcelBindingTable *m_table;
};

QLineEdit *countField(const QString &name, QWidget *parent)
{
    auto *f = new QLineEdit(parent);
    f->setObjectName(name);
    f->setReadOnly(true);
    f->setFixedWidth(70);
    return f;
}
} // namespace

Data_From_Excel::Data_From_Excel(ExcelBindingTable &table, QWidget *parent) : QDialog(parent), m_table(&table)
{
    setObjectName(QStringLiteral("Data_From_Excel"));
    setWindowTitle(QStringLiteral("Excel Data"));
    WindowLook::applyBackground(this);
    m_model = new BindingTableModel(m_table, this);

    auto *layout = new QVBoxLayout(this);
    ColList = new QTableView(this);
    ColList->setObjectName(QStringLiteral("ColList"));
    ColList->setModel(m_model);
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->verticalHeader()->hide();
    ColList->horizontalHeader()->setDefaultSectionSize(100);
    layout->addWidget(ColList, 1);

    auto *bottom = new QHBoxLayout;
    rows_count = countField(QStringLiteral("rows_count"), this);
    column_count = countField(QStringLiteral("column_count"), this);
    bottom->addWidget(new QLabel(QStringLiteral("Rows:"), this));
    bottom->addWidget(rows_count);
    bottom->addSpacing(12);
    bottom->addWidget(new QLabel(QStringLiteral("Columns:"), this));
    bottom->addWidget(column_count);
    bottom->addStretch();
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setObjectName(QStringLiteral("ok_button"));
    ok_button->setDefault(true);
    bottom->addWidget(ok_button);
    layout->addLayout(bottom);
    resize(620, 420);
    connect(ok_button, &QPushButton::clicked, this, &Data_From_Excel::OK_Click);
}

int Data_From_Excel::Open_Wnd()
{
    static_cast<BindingTableModel *>(m_model)->reload();
    ColList->setColumnWidth(0, 60);
    rows_count->setText(QString::number(m_table->rowCount()));
    column_count->setText(QString::number(m_table->columnCount()));
    const int result = ModalRunner::exec(*this);
    hide();
    return result;
}

void Data_From_Excel::Mark_List_New_Selection(int row)
{
    if (row < 0 || row >= m_model->rowCount(QModelIndex()))
        return;
    ColList->selectRow(row);
}
