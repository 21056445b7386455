// The mail run over a recording transport: what the user typed is checked, messages go out per
// recipient or per data row, attachments are real pictures of their row, pauses fall between
// messages, and the closing text only claims success when every message went out.
#include "BatchDesignFixture.h"

#include "output/MailRun.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

using namespace batchtest;

namespace
{

struct Sent {
    QString recipient;
    QStringList names;      // attachment file names
    QList<QByteArray> data; // their bytes, read while the run still has them
    QStringList decoded;    // symbols of the first attachment, when asked for
};

class RecordingTransport : public MailTransport
{
public:
    QList<Sent> sent;
    std::function<bool(const Message &)> accept = [](const Message &) { return true; };
    bool decodeFirst = false;
    int calls = 0;

    bool send(const Message &m, const Account &, QString *error) override
    {
        ++calls;
        if (!accept(m)) {
            *error = QStringLiteral("550 mailbox unavailable");
            return false;
        }
        Sent s{m.recipient, {}, {}, {}};
        for (const QString &path : m.attachments) {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
            s.names << QFileInfo(path).fileName();
            s.data << f.readAll();
        }
        if (decodeFirst && !m.attachments.isEmpty())
            s.decoded = decode(m.attachments.first());
        sent << s;
        return true;
    }
};

MailRun::Request request(const QString &to)
{
    MailRun::Request r;
    r.sender = QStringLiteral("Cards@Example.com");
    r.recipients = to;
    r.subject = QStringLiteral("Hello");
    r.body = QStringLiteral("Your card");
    return r;
}

std::shared_ptr<BatchFillSnapshot> snapshotOf(const BatchFillSnapshot::Design &d)
{
    return std::make_shared<BatchFillSnapshot>(BatchFillSnapshot::take(d));
}

} // namespace

TEST(MailRun, AddressesAndPauseLines)
{
    EXPECT_FALSE(MailRun::isValidEmail("a@b.c"));           // 5 characters
    EXPECT_FALSE(MailRun::isValidEmail("a@b@example.com")); // two "@"
    EXPECT_FALSE(MailRun::isValidEmail("someone@example"));
    EXPECT_TRUE(MailRun::isValidEmail("@ab.cd"));
    EXPECT_TRUE(MailRun::isValidEmail("  x@example.org \n"));

    QStringList list;
    QString bad;
    EXPECT_TRUE(MailRun::parseRecipients(" A@Example.com, ,b@example.org,", &list, &bad));
    EXPECT_EQ(list, (QStringList{"a@example.com", "b@example.org"}));
    EXPECT_FALSE(MailRun::parseRecipients("a@example.com, nobody, c@example.com", &list, &bad));
    EXPECT_EQ(bad, "nobody"); // a failing piece anywhere refuses the list
    EXPECT_FALSE(MailRun::parseRecipients("a@example.com\r\nBcc: x@example.org", &list, &bad));

    EXPECT_EQ(MailRun::Calculate_Pause_Time(90000), "Pausing the process for 1 Minute 30 Seconds.");
    EXPECT_EQ(MailRun::Calculate_Pause_Time(3600000), "Pausing the process for 1 Hour 0 Minute 0 Second.");
    EXPECT_EQ(MailRun::Calculate_Pause_Time(7322000), "Pausing the process for 2 Hours 2 Minutes 2 Seconds.");
    EXPECT_EQ(MailRun::Calculate_Pause_Time(1500), "Pausing the process for 1 Second.");
}

TEST(MailRun, RefusalsComeBeforeAnythingIsSent)
{
    RecordingTransport transport;
    ExportProgress progress;
    auto refusal = [&](MailRun::Request r) {
        const MailRun::Result result = MailRun(r, transport, progress).run();
        EXPECT_TRUE(result.refused);
        return result.message;
    };
    MailRun::Request r = request("a@example.com");
    r.snapshot = snapshotOf({});
    r.sender = "  ";
    EXPECT_EQ(refusal(r), MailRun::settingsHint());
    EXPECT_TRUE(
        MailRun::settingsHint().startsWith("Please make sure that:\n1.Entered E-mail Settings are correct."));
    r = request(" ");
    EXPECT_EQ(refusal(r), "Please specify the Recipient E-mail address.");
    r = request("a@example.com,b@example");
    EXPECT_EQ(refusal(r), "Recipient E-mail address is invalid or incomplete.\n\n\"b@example\"");
    r = request("a@example.com");
    r.snapshot = snapshotOf({});
    for (const QString name : {"", " / ", "../up", "sub/name"}) {
        r.fileName = name;
        EXPECT_EQ(refusal(r), "Please enter valid file name.") << name.toStdString();
    }
    r.fileName = "Card";
    r.body = QString(100 * 1024 + 1, QLatin1Char('x'));
    EXPECT_TRUE(refusal(r).contains("100 KiB"));
    EXPECT_EQ(transport.calls, 0);
}

TEST(MailRun, WithoutDataEveryRecipientGetsTheSameCardDrawnOnce)
{
    QTemporaryDir tmp;
    BatchFillSnapshot::Design d;
    d.front << text(QRectF(10, 10, 100, 30), 0);
    d.back << text(QRectF(10, 10, 100, 30), 0);
    RecordingTransport transport;
    ExportProgress progress;
    MailRun::Request r = request("a@example.com, b@example.com ,c@example.com");
    r.snapshot = snapshotOf(d);
    r.side = "BOTH";
    r.fileName = " Party ";
    const MailRun::Result result = MailRun(r, transport, progress).run();
    EXPECT_TRUE(result.allSent());
    EXPECT_EQ(result.message, "E-mail has been sent successfully.");
    ASSERT_EQ(transport.sent.size(), 3);
    for (const Sent &s : transport.sent) {
        EXPECT_EQ(s.names, (QStringList{"Party_Back.jpeg", "Party.jpeg"})); // the back goes first
        EXPECT_TRUE(s.data[0].startsWith("\xff\xd8\xff")) << "written as JPEG, as its name says";
        EXPECT_EQ(s.data, transport.sent[0].data);
    }
    EXPECT_EQ(transport.sent[1].recipient, "b@example.com");
    EXPECT_EQ(progress.written, 3);
}

TEST(MailRun, DataRowsGoToEveryRecipientOrOneEach)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    const QString to = "one@example.com,two@example.com";
    ExportProgress progress;

    RecordingTransport all;
    all.decodeFirst = true;
    MailRun::Request r = request(to);
    r.snapshot = snapshotOf(sample.design);
    r.useSeries = r.useExcel = true;
    r.extension = "png";
    r.dpi = 300;
    MailRun::Result result = MailRun(r, all, progress).run();
    EXPECT_TRUE(result.allSent()) << result.message.toStdString();
    ASSERT_EQ(all.sent.size(), 6);
    for (int i = 0; i < 6; ++i) {
        const int row = i / 2;
        EXPECT_EQ(all.sent[i].recipient, i % 2 ? "two@example.com" : "one@example.com");
        EXPECT_EQ(all.sent[i].names, QStringList{"ZOLVCard.png"});
        EXPECT_TRUE(all.sent[i].decoded.contains("Code128:" + sample.codes[row])) << i;
        EXPECT_TRUE(all.sent[i].decoded.contains("QRCode:" + sample.qr[row])) << i;
    }

    RecordingTransport one;
    r.snapshot = snapshotOf(sample.design);
    r.spread = MailRun::Spread::OnePerRecipient;
    result = MailRun(r, one, progress).run();
    EXPECT_EQ(result.planned, 2); // three rows, two recipients
    ASSERT_EQ(one.sent.size(), 2);
    EXPECT_EQ(one.sent[1].recipient, "two@example.com");
    EXPECT_EQ(one.sent[1].data, all.sent[2].data); // row 1

    RecordingTransport plain; // an unticked source is not used: one message per recipient
    r.snapshot = snapshotOf(sample.design);
    r.useSeries = r.useExcel = false;
    EXPECT_TRUE(MailRun(r, plain, progress).run().allSent());
    EXPECT_EQ(plain.sent.size(), 2);
}

TEST(MailRun, PausesFallBetweenItemsNeverAfterTheLast)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "names", "a\nb\nc\nd\n");
    BatchFillSnapshot::Design d;
    d.dataFolder = tmp.path();
    d.front << text(QRectF(10, 10, 100, 30), 1, "names");
    RecordingTransport transport;
    ExportProgress progress;
    QStringList events;
    MailRun::Hooks hooks;
    hooks.pauseLine = [&](const QString &line) { events << (line.isEmpty() ? "end" : line); };
    hooks.sleep = [&](int ms) { events << QStringLiteral("sleep %1").arg(ms); };
    MailRun::Request r = request("x@example.com");
    r.snapshot = snapshotOf(d);
    r.useSeries = true;
    r.delayed = true;
    r.pauseEvery = 2;
    r.pauseMs = 3000;
    transport.accept = [&](const MailTransport::Message &) {
        events << "mail";
        return true;
    };
    EXPECT_TRUE(MailRun(r, transport, progress, hooks).run().allSent());
    // Four rows, a pause after the second only; a pause of S seconds waits S - 1.
    EXPECT_EQ(events, (QStringList{"mail", "mail", "Pausing the process for 3 Seconds.", "sleep 1000",
                                   "Pausing the process for 2 Seconds.", "sleep 1000",
                                   "Pausing the process for 1 Second.", "end", "mail", "mail"}));

    events.clear();
    r.snapshot = snapshotOf(d);
    r.pauseEvery = 1;
    r.pauseMs = 1000; // a second or less shows the line and goes on at once
    EXPECT_TRUE(MailRun(r, transport, progress, hooks).run().allSent());
    EXPECT_EQ(events.count("end"), 3);
    EXPECT_EQ(events.count("sleep 1000"), 0);
}

TEST(MailRun, TheClosingTextCountsWhatWasNotSent)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "ean", "5901234123457\nNOT-DIGITS\n4006381333931");
    BatchFillSnapshot::Design d;
    d.dataFolder = tmp.path();
    d.front << barcode(QPointF(5, 5), 0, 8, 1, "ean"); // EAN-13: row 2 cannot be drawn
    ExportProgress progress;
    MailRun::Request r = request("a@example.com,b@example.com");
    r.useSeries = true;

    // Every row to every recipient: b refuses row 3, row 2 is left out; the rest goes on.
    RecordingTransport transport;
    transport.accept = [&](const MailTransport::Message &m) {
        return !(m.recipient.startsWith('b') && transport.calls == 4);
    };
    r.snapshot = snapshotOf(d);
    MailRun::Result result = MailRun(r, transport, progress).run();
    EXPECT_EQ(result.planned, 6);
    EXPECT_EQ(result.sent, 3);
    EXPECT_FALSE(result.allSent());
    EXPECT_EQ(result.message, MailRun::failedText() + "\n\n3 of 6 messages could not be sent.");
    EXPECT_EQ(result.errors.size(), 2);

    // One row each: the first refusal ends the run.
    RecordingTransport refusing;
    refusing.accept = [](const MailTransport::Message &) { return false; };
    r.snapshot = snapshotOf(d);
    r.spread = MailRun::Spread::OnePerRecipient;
    result = MailRun(r, refusing, progress).run();
    EXPECT_EQ(refusing.calls, 1);
    EXPECT_EQ(result.message, MailRun::failedText() + "\n\n2 of 2 messages could not be sent.");

    // A stop asked for while a message is out lets that message finish and sends no more.
    RecordingTransport stopping;
    stopping.accept = [&](const MailTransport::Message &) {
        progress.requestStop();
        return true;
    };
    r.snapshot = snapshotOf(d);
    r.spread = MailRun::Spread::AllToEvery;
    result = MailRun(r, stopping, progress).run();
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.sent, 1);
    EXPECT_EQ(result.message, MailRun::failedText() + "\n\n5 of 6 messages could not be sent.");
}

TEST(MailRun, WithoutTheCardAnyFileOrNone)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath("menu.pdf");
    testsupport::writeFile(file, "%PDF-1.4 menu");
    RecordingTransport transport;
    ExportProgress progress;
    MailRun::Request r = request("a@example.com,b@example.com");
    r.mode = MailRun::Mode::WithoutCard;
    r.fileName = ""; // not used in this mode
    r.attachment = "  " + file + " ";
    EXPECT_TRUE(MailRun(r, transport, progress).run().allSent());
    ASSERT_EQ(transport.sent.size(), 2);
    EXPECT_EQ(transport.sent[0].names, QStringList{"menu.pdf"});
    r.attachment = tmp.filePath("gone.pdf");
    transport.sent.clear();
    EXPECT_TRUE(MailRun(r, transport, progress).run().allSent());
    EXPECT_TRUE(transport.sent[0].names.isEmpty());
}
