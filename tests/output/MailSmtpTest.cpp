// Cards sent through cardtool mail and the shipped mail script to real SMTP servers on 127.0.0.1
// (TLS from the start, and STARTTLS): the Python side runs the servers and checks what arrives.
#include "BatchDesignFixture.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace batchtest;

TEST(MailSmtp, CardsReachARealServerRowByRow)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false, 99);
    const QString design = writeDesign(tmp.filePath("party.dcard"), sample);
    QJsonObject expect;
    expect["codes"] = QJsonArray::fromStringList(sample.codes);
    expect["qr"] = QJsonArray::fromStringList(sample.qr);
    testsupport::writeFile(tmp.filePath("expect.json"), QJsonDocument(expect).toJson());

    const testsupport::ProcResult r = testsupport::run(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(TESSALY_TESTS_DIR "/output/mail_smtp_test.py"), QStringLiteral(CARDTOOL_PATH), design,
         tmp.filePath("DataSet"), tmp.filePath("expect.json")},
        {}, 600000);
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
}
