// Helpers the series dialog tests share: series files in the data root, and rows of a table
// clicked as a user clicks them.
#pragma once

#include "foundation/FoundationState.h"

#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace testsupport
{
inline void writeSeriesFile(const QString &name, const QByteArray &content)
{
    QDir().mkpath(Data_Folder_Path);
    QFile f(QDir(Data_Folder_Path).filePath(name + QStringLiteral(".txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

inline QByteArray readSeriesFile(const QString &name)
{
    QFile f(QDir(Data_Folder_Path).filePath(name + QStringLiteral(".txt")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool seriesExists(const QString &name)
{
    return QFile::exists(QDir(Data_Folder_Path).filePath(name + QStringLiteral(".txt")));
}

inline void clickRow(QTableView *table, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    table->scrollTo(table->model()->index(row, 0));
    const QRect r = table->visualRect(table->model()->index(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, r.center());
}

inline void doubleClickRow(QTableView *table, int row)
{
    clickRow(table, row);
    const QRect r = table->visualRect(table->model()->index(row, 0));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

inline QList<int> selectedRowsOf(QTableView *table)
{
    QList<int> rows;
    for (const QModelIndex &i : table->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}
} // namespace testsupport
