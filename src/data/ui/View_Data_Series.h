// The series viewer: the values of one series, read-only, with their count.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;
class RowListModel;

class View_Data_Series : public QDialog
{
    Q_OBJECT
public:
    explicit View_Data_Series(QWidget *parent = nullptr);

    // Shows the series file_name; returns when the user closes the viewer.
    int Open_Wnd();

    QString file_name;                // set by the caller before Open_Wnd
    RowListModel *ListData = nullptr; // {"Extension": value}
    QTableView *List = nullptr;
    QLabel *series_name = nullptr;
    QLabel *list_count = nullptr; // "Total Rows : %d"
    QPushButton *ok_button = nullptr;
};
