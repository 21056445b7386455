// Helpers of the data engine tests: the shared process and file helpers, the path of a
// workbook kept with the tests, and the check of workbooks other programs wrote.
#pragma once

#include "data/XlsxReader.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
