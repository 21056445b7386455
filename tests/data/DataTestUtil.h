// Helpers of the data engine tests: the shared process and file helpers, the path of a
// workbook kept with the tests, and the check of workbooks other programs wrote.
#pragma once

#include "data/XlsxReader.h"
#include "support/TestSupport.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

namespace datatest
{

using testsupport::cardtool;
using testsupport::ProcResult;
using testsupport::python;
using testsupport::readFile;
using testsupport::run;
using testsupport::writeFile;

inline QString testFile(const QString &name)
{
    return QStringLiteral(TESSALY_TEST_DATA "/") + name;
}

// The records of a CSV text: fields split at commas, quoted ones with their doubled quotes.
inline QList<QStringList> csvRecords(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
            field += c;
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u',' || c == u'\n')) {
            record << std::exchange(field, QString());
            if (c == u'\n')
                records << std::exchange(record, QStringList());
        } else {
            field += c;
        }
    }
    return records;
}

// A workbook kept with the tests (book.xlsx: a label and a cell a row) reads as LibreOffice showed
// it (book.lo.csv), but for the cells whose labels ours gives another text.
inline void expectReadAsLibreOfficeShowed(const QString &book, const QHash<QString, QString> &ours)
{
    SCOPED_TRACE(book.toStdString());
    XlsxReader reader;
    QString message;
    ASSERT_TRUE(reader.open(testFile(book + QLatin1String(".xlsx")), &message)) << message.toStdString();
    const XlsxRows rows = reader.readSheet(1);
    ASSERT_TRUE(rows.ok) << rows.message.toStdString();
    const QList<QStringList> shown =
        csvRecords(QString::fromUtf8(readFile(testFile(book + QLatin1String(".lo.csv")))));
    ASSERT_EQ(rows.rows.size(), shown.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QString label = shown[i].value(0);
        ASSERT_EQ(rows.rows.text(i, 0), label);
        EXPECT_EQ(rows.rows.text(i, 1).toStdString(), ours.value(label, shown[i].value(1)).toStdString())
            << label.toStdString();
    }
}

// Runs a script that writes workbooks into a folder and prints, for each, the rows a spreadsheet
// shows (a label and the cell as shown); the reader must give the same texts.
inline void expectWorkbooksReadAsShown(const QString &script, qsizetype books)
{
    QTemporaryDir tmp;
    const ProcResult r = run(QStringLiteral("/usr/bin/python3"), {testFile(script), tmp.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject written = QJsonDocument::fromJson(r.out).object();
    ASSERT_EQ(written.size(), books);
    for (auto it = written.begin(); it != written.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        XlsxReader reader;
        QString message;
        ASSERT_TRUE(reader.open(it.key(), &message)) << message.toStdString();
        const XlsxRows rows = reader.readSheet(1);
        ASSERT_TRUE(rows.ok) << rows.message.toStdString();
        const QJsonArray expected = it.value().toArray();
        ASSERT_EQ(rows.rows.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QJsonArray row = expected.at(i).toArray();
            EXPECT_EQ(rows.rows.text(i, 0), row.at(0).toString());
            EXPECT_EQ(rows.rows.text(i, 1), row.at(1).toString()) << row.at(0).toString().toStdString();
        }
    }
}

} // namespace datatest
