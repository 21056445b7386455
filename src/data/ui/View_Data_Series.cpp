#include "data/ui/View_Data_Series.h"

#include "data/SeriesFiles.h"
#include "foundation/DataRoot.h"
#include "foundation/DialogTiming.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RowListModel.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "foundation/ui/WindowLook.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

View_Data_Series::View_Data_Series(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("View_Data_Series"));
    setWindowTitle(QStringLiteral("View Series"));
    WindowLook::applyBackground(this);
    ListData = new RowListModel({QStringLiteral("Extension")}, {QStringLiteral("Values")}, this);
    auto *layout = new QVBoxLayout(this);
    series_name = new QLabel(this);
    series_name->setObjectName(QStringLiteral("series_name"));
    QFont bold = series_name->font();
    bold.setBold(true);
    series_name->setFont(bold);
    layout->addWidget(series_name);
    List = new QTableView(this);
    List->setObjectName(QStringLiteral("List"));
    List->setModel(ListData);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->horizontalHeader()->setStretchLastSection(true);
    List->verticalHeader()->hide();
    layout->addWidget(List);
    auto *bottom = new QHBoxLayout;
    list_count = new QLabel(this);
    list_count->setObjectName(QStringLiteral("list_count"));
    bottom->addWidget(list_count);
    bottom->addStretch();
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setDefault(true);
    bottom->addWidget(ok_button);
    layout->addLayout(bottom);
    resize(360, 420);
    connect(ok_button, &QPushButton::clicked, this, [this] { done(1); });
}

int View_Data_Series::Open_Wnd()
{
    series_name->setText(file_name);
    ListData->clear();
    {
        PleaseWaitSheet wait(this);
        // A missing or unreadable file shows as an empty series.
        const QStringList values =
            SeriesFiles::readValues(Data_Folder_Path, file_name).value_or(QStringList());
        QList<RowListModel::Row> rows;
        rows.reserve(values.size());
        for (const QString &v : values)
            rows.append({{QStringLiteral("Extension"), v}});
        ListData->setListData(rows);
        list_count->setText(QStringLiteral("Total Rows : %1").arg(ListData->count()));
    }
    if (DialogTiming::openWaitMs() > 0)
        QThread::msleep(DialogTiming::openWaitMs());
    const int result = ModalRunner::exec(*this);
    hide();
    return result;
}
