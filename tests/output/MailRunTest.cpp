// The mail run over a recording transport: what the user typed is checked, messages go out per
// recipient or per data row, attachments are real pictures of their row, pauses fall between
// messages, a refused recipient leaves the others to be tried while a failure every message would
// meet ends the run, the progress counts messages done with, and the closing text only claims
// success when every message went out.
#include "BatchDesignFixture.h"

#include "output/MailRun.h"

#include "support/Eventually.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

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
    // What a message not accepted meets, and the words given for it.
    Delivery refusal = Delivery::Refused;
    QString why = QStringLiteral("550 mailbox unavailable");
    std::function<void()> onSend; // looks at the run while a message is out

    Delivery send(const Message &m, const Account &, QString *error) override
    {
        ++calls;
        if (onSend)
            onSend();
        if (!accept(m)) {
            *error = why;
            return refusal;
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
        return Delivery::Sent;
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

std::shared_ptr<const RunPlan> planOf(const CardDesign &d)
{
    return RunPlan::make(d);
}

// The sample's rows, one to each recipient in turn.
MailRun::Request rowPerRecipient(const QString &to, const SampleDesign &sample)
{
    MailRun::Request r = request(to);
    r.spread = MailRun::Spread::OnePerRecipient;
    r.plan = planIn(sample.design, sample.dataFolder);
    return r;
}

// A text bound to the series "names" of the given rows, kept in folder.
CardDesign namesDesign(const QString &folder, const QByteArray &rows)
{
    writeSeries(folder, "names", rows);
    CardDesign d;
    d.front << text(QRectF(10, 10, 100, 30), 1, "names");
    return d;
}

// An EAN-13 bound to three rows, kept in folder, of which row 2 cannot be drawn.
CardDesign eanDesignWithBadSecondRow(const QString &folder)
{
    writeSeries(folder, "ean", "5901234123457\nNOT-DIGITS\n4006381333931");
    CardDesign d;
    d.front << barcode(QPointF(5, 5), 0, 8, 1, "ean");
    return d;
}

} // namespace

TEST(MailRun, AddressesAndPauseLines)
{
    EXPECT_FALSE(MailRun::isValidEmail("a@b.c"));           // 5 characters
    EXPECT_FALSE(MailRun::isValidEmail("a@b@example.com")); // two "@"
    EXPECT_FALSE(MailRun::isValidEmail("someone@example"));
    EXPECT_TRUE(MailRun::isValidEmail("@ab.cd"));
    EXPECT_TRUE(MailRun::isValidEmail("  x@example.org \n"));
    // The dot belongs in the domain: a list cut mid-way left "friend.114@exam", which was mailed.
    EXPECT_FALSE(MailRun::isValidEmail("friend.114@exam"));
    EXPECT_FALSE(MailRun::isValidEmail("friend@.example"));
    EXPECT_FALSE(MailRun::isValidEmail("friend@example."));
    EXPECT_TRUE(MailRun::isValidEmail("friend@mail.example.org"));
    for (const QString &inside :
         QStringList{"\t", "\v", " ", QString(QChar(0x85)), QString(QChar(0x2028)), QString(QChar(0))})
        EXPECT_FALSE(MailRun::isValidEmail("fri" + inside + "end@example.org"));
    for (const QString &ch :
         QStringList{"\r", "\n", "\t", "\x1c", QString(QChar(0x85)), QString(QChar(0x2028)),
                     QString(QChar(0x2029)), QString(QChar(0x7f)), QString(QChar(0))})
        EXPECT_TRUE(MailRun::holdsControlCharacter("Hi" + ch + "there"));
    EXPECT_FALSE(MailRun::holdsControlCharacter("Grüße — « 🎉 »"));

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
    r.plan = planOf({});
    r.sender = "  ";
    EXPECT_EQ(refusal(r), MailRun::settingsHint());
    EXPECT_TRUE(
        MailRun::settingsHint().startsWith("Please make sure that:\n1.Entered E-mail Settings are correct."));
    r = request(" ");
    EXPECT_EQ(refusal(r), "Please specify the Recipient E-mail address.");
    r = request("a@example.com,b@example");
    EXPECT_EQ(refusal(r), "Recipient E-mail address is invalid or incomplete.\n\n\"b@example\"");
    r = request("a@example.com");
    r.plan = planOf({});
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
    CardDesign d;
    d.front << text(QRectF(10, 10, 100, 30), 0);
    d.back << text(QRectF(10, 10, 100, 30), 0);
    RecordingTransport transport;
    ExportProgress progress;
    MailRun::Request r = request("a@example.com, b@example.com ,c@example.com");
    r.plan = planOf(d);
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
    r.plan = planIn(sample.design, sample.dataFolder);
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
    r.plan = planIn(sample.design, sample.dataFolder);
    r.spread = MailRun::Spread::OnePerRecipient;
    result = MailRun(r, one, progress).run();
    EXPECT_EQ(result.planned, 2); // three rows, two recipients
    ASSERT_EQ(one.sent.size(), 2);
    EXPECT_EQ(one.sent[1].recipient, "two@example.com");
    EXPECT_EQ(one.sent[1].data, all.sent[2].data); // row 1

    RecordingTransport plain; // an unticked source is not used: one message per recipient
    r.plan = planIn(sample.design, sample.dataFolder)->with(RunPlan::Choices().withSources(false, false));
    EXPECT_TRUE(MailRun(r, plain, progress).run().allSent());
    EXPECT_EQ(plain.sent.size(), 2);
}

// 1,500 rows to two addresses started 3,000 messages with no count shown: the run says first how
// many messages go to how many recipients when each gets more than one.
TEST(MailRun, ARunOfSeveralMessagesARecipientSaysHowMany)
{
    QTemporaryDir tmp;
    const auto rows = [&](int n) {
        QByteArray lines;
        for (int i = 0; i < n; ++i)
            lines += "row" + QByteArray::number(i) + "\n";
        return planIn(namesDesign(tmp.path(), lines), tmp.path());
    };
    const struct {
        int rows;
        QString to;
        MailRun::Spread spread;
        QString said;
    } cases[] = {
        {1500, "a@example.com,b@example.com", MailRun::Spread::AllToEvery,
         "This sends 3,000 messages to 2 recipients, 1,500 to each: every card to every recipient."},
        {3, "a@example.com", MailRun::Spread::AllToEvery,
         "This sends 3 messages to 1 recipient, one for each card."},
        {2, "a@example.com,b@example.com", MailRun::Spread::OnePerRecipient, ""},
        {1, "a@example.com,b@example.com", MailRun::Spread::AllToEvery, ""},
        // Addresses past the last row get no card: named before the run.
        {2, "a@example.com,b@example.com,c@example.com", MailRun::Spread::OnePerRecipient,
         "This sends 2 messages, each row's card to the recipient in the same place in the list.\n\n"
         "No card for:\nc@example.com: there are 2 cards for 3 recipients"},
    };
    RecordingTransport transport;
    ExportProgress progress;
    for (const auto &c : cases) {
        MailRun::Request r = request(c.to);
        r.spread = c.spread;
        r.plan = rows(c.rows);
        EXPECT_EQ(MailRun::scaleText(MailRun(r, transport, progress).outline()), c.said) << c.rows;
    }

    // More messages than a run can count is refused, not counted wrong.
    QStringList many;
    for (int i = 0; i < 21475; ++i)
        many << QStringLiteral("friend.%1@example.org").arg(i);
    MailRun::Request r = request(many.join(','));
    r.plan = rows(100000);
    EXPECT_TRUE(MailRun(r, transport, progress)
                    .outline()
                    .refusal.startsWith(
                        "Every card to every recipient would make more messages than one run can send"));
    EXPECT_EQ(transport.calls, 0);
}

// One card a recipient with fewer recipients than rows: the rows past the last recipient make
// cards no message carries. They are named before the run and in the end box, never a plain
// success; a blank row there is named only while blank cards are not left out.
TEST(MailRun, RowsPastTheLastRecipientAreNamedBeforeAndAfterTheRun)
{
    QTemporaryDir tmp;
    const struct {
        QByteArray rows;
        QString to;
        bool leaveOutBlank;
        QString noRecipient; // as both the question and the end box name them
        QString ended;       // the end box's first line
    } cases[] = {
        {"a\nb\nc\nd\ne\n", "a@example.com,b@example.com,c@example.com", false,
         "rows 4-5: there are 3 recipients for 5 cards",
         "3 messages were sent; the cards of 2 rows went to nobody."},
        {"a\nb\n", "a@example.com", false, "row 2: there is 1 recipient for 2 cards",
         "1 message was sent; the card of 1 row went to nobody."},
        {"a\nb\n\nd\n", "a@example.com,b@example.com", true, "row 4: there are 2 recipients for 4 cards",
         "2 messages were sent; the card of 1 row went to nobody."},
        {"a\nb\n\nd\n", "a@example.com,b@example.com", false, "rows 3-4: there are 2 recipients for 4 cards",
         "2 messages were sent; the cards of 2 rows went to nobody."},
    };
    for (const auto &c : cases) {
        RecordingTransport transport;
        ExportProgress progress;
        MailRun::Request r = request(c.to);
        r.spread = MailRun::Spread::OnePerRecipient;
        r.plan = planIn(namesDesign(tmp.path(), c.rows), tmp.path());
        r.leaveOutBlank = c.leaveOutBlank;
        const QString said = MailRun::scaleText(MailRun(r, transport, progress).outline());
        const MailRun::Result result = MailRun(r, transport, progress).run();
        EXPECT_EQ(transport.sent.size(), c.to.count('@'));
        EXPECT_TRUE(said.startsWith(QStringLiteral("This sends %1 message").arg(c.to.count('@'))))
            << said.toStdString();
        EXPECT_TRUE(said.endsWith("\n\nNo recipient for:\n" + c.noRecipient)) << said.toStdString();
        EXPECT_FALSE(result.allSent());
        EXPECT_EQ(result.message, c.ended + "\n\nNo recipient for:\n" + c.noRecipient);
        EXPECT_TRUE(result.problems().contains("No recipient for " + c.noRecipient));
    }
}

TEST(MailRun, PausesFallBetweenItemsNeverAfterTheLast)
{
    QTemporaryDir tmp;
    const CardDesign d = namesDesign(tmp.path(), "a\nb\nc\nd\n");
    RecordingTransport transport;
    ExportProgress progress;
    QStringList events;
    MailRun::Hooks hooks;
    hooks.pauseLine = [&](const QString &line) { events << (line.isEmpty() ? "end" : line); };
    hooks.sleep = [&](int ms) { events << QStringLiteral("sleep %1").arg(ms); };
    MailRun::Request r = request("x@example.com");
    r.plan = planIn(d, tmp.path());
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
    r.plan = planIn(d, tmp.path());
    r.pauseEvery = 1;
    r.pauseMs = 1000; // a second or less shows the line and goes on at once
    EXPECT_TRUE(MailRun(r, transport, progress, hooks).run().allSent());
    EXPECT_EQ(events.count("end"), 3);
    EXPECT_EQ(events.count("sleep 1000"), 0);
}

TEST(MailRun, EveryRecipientIsTriedAndEachRefusedOneIsNamedWithItsRow)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    ExportProgress progress;
    MailRun::Request r = rowPerRecipient("a@example.com,b@example.com,c@example.com", sample);
    RecordingTransport transport;
    transport.decodeFirst = true;
    transport.accept = [](const MailTransport::Message &m) { return !m.recipient.startsWith('b'); };
    MailRun::Result result = MailRun(r, transport, progress).run();
    EXPECT_EQ(transport.calls, 3);
    ASSERT_EQ(transport.sent.size(), 2);
    EXPECT_TRUE(transport.sent[1].decoded.contains("QRCode:" + sample.qr[2])); // c still gets row 3
    // Who got nothing, with the row meant for them and the server's words; no settings checklist.
    EXPECT_EQ(result.message, "1 of 3 messages could not be sent.\n\nNot sent:\n"
                              "b@example.com (row 2): 550 mailbox unavailable");

    // Every row to every recipient, row 2 not drawable: the rows b missed are named together.
    r = request("a@example.com,b@example.com");
    r.plan = planIn(eanDesignWithBadSecondRow(tmp.path()), tmp.path());
    RecordingTransport every;
    every.accept = transport.accept;
    result = MailRun(r, every, progress).run();
    EXPECT_EQ(result.sent, 2);
    ASSERT_EQ(result.leftOut.size(), 1);
    EXPECT_TRUE(result.leftOut[0].startsWith("Row 2: "));
    EXPECT_EQ(result.message, "4 of 6 messages could not be sent.\n\n" + result.leftOut[0] +
                                  "\n\nNot sent:\nb@example.com (rows 1, 3): 550 mailbox unavailable");
    // One outcome a recipient, each refused message once.
    ASSERT_EQ(result.outcomes.size(), 2);
    EXPECT_EQ(result.outcomes[0].recipient, "a@example.com");
    EXPECT_EQ(result.outcomes[0].meant, 3);
    EXPECT_EQ(result.outcomes[0].sent, 2);
    EXPECT_TRUE(result.outcomes[0].refused.isEmpty());
    EXPECT_EQ(result.outcomes[1].sent, 0);
    ASSERT_EQ(result.outcomes[1].refused.size(), 2);
    EXPECT_EQ(result.outcomes[1].refused[1].row, 3);
    EXPECT_EQ(result.problems(),
              (QStringList{result.leftOut[0], "b@example.com (rows 1, 3): 550 mailbox unavailable"}));

    // Without data rows no row is named, and a long list is kept to a box's size.
    QStringList to;
    for (int i = 0; i < 30; ++i)
        to << QStringLiteral("friend.%1@example.org").arg(i);
    r = request(to.join(','));
    r.mode = MailRun::Mode::WithoutCard;
    RecordingTransport many;
    many.accept = [&many](const MailTransport::Message &) { return many.calls <= 2; };
    result = MailRun(r, many, progress).run();
    EXPECT_EQ(many.calls, 30);
    EXPECT_EQ(std::count_if(result.outcomes.begin(), result.outcomes.end(),
                            [](const MailRun::Outcome &o) { return o.sent == 0; }),
              28);
    EXPECT_TRUE(result.message.startsWith("28 of 30 messages could not be sent.\n\nNot sent:\n"
                                          "friend.2@example.org: 550 mailbox unavailable\n"));
    EXPECT_TRUE(result.message.endsWith("friend.21@example.org: 550 mailbox unavailable\n(and 8 more)"));

    // The script's name is left off its words, and a long trace is cut.
    EXPECT_EQ(MailRun::reasonText("pyth_mail: login refused: 535 5.7.8 no\n"), "login refused: 535 5.7.8 no");
    EXPECT_EQ(MailRun::reasonText(QString(5000, 'x')).size(), 603);
}

TEST(MailRun, RowsReadFromASheetBesideASeriesAreNamedAsSheetRows)
{
    // The sheet's rows 5 to 7 fill the cards beside a series: "row 2" would name the series' row.
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    batchtest::setSheetRows(sample.design, {5, 6, 7});
    ExportProgress progress;
    RecordingTransport transport;
    transport.accept = [](const MailTransport::Message &m) { return !m.recipient.startsWith('b'); };
    const MailRun::Result result =
        MailRun(rowPerRecipient("a@example.com,b@example.com,c@example.com", sample), transport, progress)
            .run();
    EXPECT_EQ(result.message, "1 of 3 messages could not be sent.\n\nNot sent:\n"
                              "b@example.com (sheet row 6): 550 mailbox unavailable");
}

TEST(MailRun, AFailureEveryMessageWouldMeetEndsTheRun)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    ExportProgress progress;
    MailRun::Request r = rowPerRecipient("a@example.com,b@example.com", sample);
    RecordingTransport refusing;
    refusing.accept = [](const MailTransport::Message &) { return false; };
    refusing.refusal = MailTransport::Delivery::Failed;
    refusing.why = "pyth_mail: login refused: 535 5.7.8 no";
    MailRun::Result result = MailRun(r, refusing, progress).run();
    EXPECT_EQ(refusing.calls, 1);
    EXPECT_EQ(result.message, MailRun::failedText() +
                                  "\n\n2 of 2 messages could not be sent.\n\nlogin refused: 535 5.7.8 no"
                                  "\n\nNo recipient for:\nrow 3: there are 2 recipients for 3 cards"
                                  "\n\nNothing was sent to: a@example.com (row 1), b@example.com (row 2).");

    // A stop asked for while a message is out lets that message finish and sends no more.
    RecordingTransport stopping;
    stopping.accept = [&](const MailTransport::Message &) {
        progress.requestStop();
        return true;
    };
    r.plan = planIn(sample.design, sample.dataFolder);
    r.spread = MailRun::Spread::AllToEvery;
    result = MailRun(r, stopping, progress).run();
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.sent, 1);
    EXPECT_EQ(result.message, "Stopped: 1 of 6 messages were sent."); // no settings checklist
}

TEST(MailRun, TheProgressCountsMessagesDoneWith)
{
    QTemporaryDir tmp;
    ExportProgress progress;
    MailRun::Request r = request("a@example.com,b@example.com");
    r.plan = planIn(eanDesignWithBadSecondRow(tmp.path()), tmp.path());
    RecordingTransport transport;
    QList<int> whileOut; // the count while each message is out
    transport.onSend = [&] { whileOut << int(progress.curr_barcode_count.load()); };
    transport.accept = [](const MailTransport::Message &m) { return !m.recipient.startsWith('b'); };
    MailRun(r, transport, progress).run();
    EXPECT_EQ(progress.list_count, 6);
    // A refused message is done with; a row left out counts its messages as done.
    EXPECT_EQ(whileOut, (QList<int>{0, 1, 4, 5}));
    EXPECT_EQ(progress.curr_barcode_count.load(), 6);
}

TEST(MailRun, WhileTheStopQuestionIsOpenNothingIsSent)
{
    QTemporaryDir tmp;
    const CardDesign d = namesDesign(tmp.path(), "a\nb\nc\n");
    RecordingTransport transport;
    ExportProgress progress;
    // The question opens while the first message is out, and again during the fourth.
    std::atomic<int> seen{0};
    transport.accept = [&](const MailTransport::Message &) {
        const int n = ++seen;
        if (n == 1 || n == 4)
            progress.pause();
        return true;
    };
    MailRun::Request r = request("a@example.com,b@example.com");
    r.plan = planIn(d, tmp.path());
    MailRun::Result result;
    std::thread worker([&] { result = MailRun(r, transport, progress).run(); });
    // The message on its way goes out; the next waits for the answer.
    ASSERT_TRUE(eventually([&] { return progress.waitingInPause() == 1; }));
    EXPECT_EQ(transport.calls, 1);
    // "Continue": the run goes on until the question opens again.
    progress.resume();
    ASSERT_TRUE(eventually([&] { return seen == 4 && progress.waitingInPause() == 1; }));
    EXPECT_EQ(transport.calls, 4);
    // "Stop": nothing more.
    progress.requestStop();
    progress.resume();
    worker.join();
    EXPECT_EQ(transport.calls, 4);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.message, "Stopped: 4 of 6 messages were sent.");

    // A pause asked for before the first item holds the run before anything is drawn or sent,
    // and a stop while held ends it without sending.
    RecordingTransport idle;
    progress.start(0);
    progress.pause();
    r.plan = planIn(d, tmp.path());
    std::thread held([&] { result = MailRun(r, idle, progress).run(); });
    ASSERT_TRUE(eventually([&] { return progress.waitingInPause() == 1; }));
    progress.requestStop();
    held.join();
    progress.resume();
    EXPECT_EQ(idle.calls, 0);
    EXPECT_EQ(result.message, "Stopped: 0 of 6 messages were sent.");
}

TEST(MailRun, HeaderFieldsWithControlCharactersAreRefusedBeforeSending)
{
    QTemporaryDir tmp;
    RecordingTransport transport;
    ExportProgress progress;
    const QString breakers[] = {
        "\n", "\r", "\v", "\x1e", QString(QChar(0x85)), QString(QChar(0x2028)), QString(QChar(0x2029)), "\t"};
    for (const QString &ch : breakers) {
        MailRun::Request r = request("a@example.com");
        r.plan = planOf({});
        r.subject = "Hi" + ch + "Bcc: x@example.org";
        MailRun::Result result = MailRun(r, transport, progress).run();
        EXPECT_TRUE(result.refused);
        EXPECT_EQ(result.message, "The subject may not hold a line break or another control character.");

        r = request("a@example.com");
        r.plan = planOf({});
        r.sender = "cards@example.com" + ch + "x";
        result = MailRun(r, transport, progress).run();
        EXPECT_EQ(result.message,
                  "The sender E-mail address may not hold a line break or another control character.");

        r.sender = "cards@example.com";
        r.fileName = "Party" + ch + "Card";
        result = MailRun(r, transport, progress).run();
        EXPECT_EQ(result.message,
                  "The attachment's name may not hold a line break or another control character.");
    }
    // Without the card, the chosen file's name is the header.
    const QString odd = tmp.filePath("menu\n.pdf");
    testsupport::writeFile(odd, "%PDF-1.4");
    MailRun::Request r = request("a@example.com");
    r.mode = MailRun::Mode::WithoutCard;
    r.attachment = odd;
    EXPECT_EQ(MailRun(r, transport, progress).run().message,
              "The attachment's name may not hold a line break or another control character.");
    EXPECT_EQ(transport.calls, 0);
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
    r.attachment = "";
    transport.sent.clear();
    EXPECT_TRUE(MailRun(r, transport, progress).run().allSent()); // no file: the text alone
    EXPECT_TRUE(transport.sent[0].names.isEmpty());

    // A path naming no readable file is refused, never sent without it.
    const QString fifo = tmp.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString locked = tmp.filePath("locked.pdf");
    testsupport::writeFile(locked, "%PDF-1.4");
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    const bool root = ::geteuid() == 0; // root reads any file
    for (const QString &path : {tmp.filePath("gone.pdf"), tmp.path(), fifo, locked}) {
        if (path == locked && root)
            continue;
        r.attachment = path;
        const MailRun::Result result = MailRun(r, transport, progress).run();
        EXPECT_TRUE(result.refused) << path.toStdString();
        EXPECT_EQ(result.message, "The file to send cannot be read:\n\n\"" + path + "\"");
    }
    EXPECT_EQ(transport.sent.size(), 2); // the two messages with the text alone
}
