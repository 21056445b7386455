// One mail run: checks what the user typed, works out the messages (per recipient, or per data
// row to every recipient or to one each), renders the attachments and sends, pausing as asked.
#pragma once

#include "foundation/CardCodes.h"
#include "output/ExportProgress.h"
#include "output/MailTransport.h"
#include "output/RunPlan.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class MailRun
{
public:
    enum class Mode { WithoutCard, Card };
    enum class Spread { AllToEvery, OnePerRecipient };

    // What the mail window holds when Send is pressed, with the stored account.
    struct Request {
        QString sender;     // from_txt
        QString recipients; // to_txt: addresses separated by ","
        QString subject;
        QString body;
        MailTransport::Account account;
        Mode mode = Mode::Card;
        QString attachment;                            // the file sent in the mode without the card
        QString fileName = QStringLiteral("ZOLVCard"); // card mode: the attachments' name
        QString extension = QStringLiteral("jpeg");    // and their format
        QString side = SideCode::Front;                // "BOTH", "F" or "B"
        Spread spread = Spread::AllToEvery;
        bool delayed = false;
        int pauseEvery = 1; // messages (items) between pauses
        qint64 pauseMs = 0;
        double dpi = 150;
        // The design with its data (card mode), under the sources the window's boxes chose: the
        // run is a batch when the plan is.
        std::shared_ptr<const RunPlan> plan;
        bool leaveOutBlank = false; // rows whose every value the card is filled with is empty
    };

    // What became of the messages meant for one recipient.
    struct Outcome {
        QString recipient;
        int meant = 0; // messages the run meant to send them
        int sent = 0;
        int row = 0; // with a data row for each recipient, the row (from 1) of theirs; else 0
        // A message the server refused for this recipient alone: the data row (from 1) whose card
        // it carried, 0 without data rows, and the server's words.
        struct Refusal {
            int row = 0;
            QString reason;
        };
        QList<Refusal> refused;
    };

    struct Result {
        bool refused = false; // nothing was sent: `message` says what to correct
        int planned = 0;      // messages the run meant to send
        int sent = 0;
        bool stopped = false;
        QString ended;       // why the run ended before its last message, when something did
        bool broken = false; // what ended it is a failure every further message would meet
        QStringList leftOut; // data rows left out, "Row 2: why"; no message carried their card
        QString rowWord = QStringLiteral("row"); // how rows are named: "sheet row" beside a series
        QList<Outcome> outcomes;                 // one a recipient, in the order given
        // One card a recipient: those who were meant none, "address (row 2): why".
        QStringList withoutCard;
        // One card a recipient: the rows past the last recipient, whose cards went to nobody
        // ("rows 4-5: there are 3 recipients for 5 cards"), and how many they are.
        QStringList withoutRecipient;
        int rowsWithoutRecipient = 0;
        QString message; // what the closing box says
        // Every message meant went out and every recipient was meant one.
        bool allSent() const
        {
            return !refused && planned > 0 && sent == planned && withoutCard.isEmpty() &&
                   withoutRecipient.isEmpty();
        }
        // Each failure once, for the log.
        QStringList problems() const;
    };

    // Hooks for whoever shows the run: the pause line (empty: no pause now) and a log line.
    struct Hooks {
        std::function<void(const QString &)> pauseLine;
        std::function<void(const QString &)> log;
        // Waits about ms milliseconds; tests replace it to run pauses at once.
        std::function<void(int ms)> sleep;
    };

    MailRun(Request request, MailTransport &transport, ExportProgress &progress, Hooks hooks = {});

    // What a run would do, worked out before any sheet opens: a refusal (what to correct), or
    // the items (between which pauses fall) and the messages meant to go out, which the progress
    // counts as they are done with.
    struct Outline {
        QString refusal;
        int items = 0;
        int planned = 0;
        bool batch = false;      // card mode filled from data rows
        int rows = 0;            // the data rows of a batch
        bool allToEvery = false; // a batch whose every row goes to every recipient
        int recipients = 0;
        // One card a recipient (row i's to recipient i): the places of blank rows left out, whose
        // recipients get nothing, and who gets no card, with why.
        QList<int> blankLeftOut;
        QStringList withoutCard;
        // And the rows past the last recipient that make a card (not left out as blank): no
        // message carries them.
        QStringList withoutRecipient;
        int rowsWithoutRecipient = 0;
        // The cards as this run makes them (card mode): its sources, sides and rows, which the
        // check before the run reads.
        std::shared_ptr<const RunPlan> plan;
    };
    Outline outline();
    // Leaves out the rows whose every value the card is filled with is empty, as the check's
    // question offers: they make no message.
    void leaveOutBlankCards() { m_request.leaveOutBlank = true; }

    // Checks the entries; on a refusal nothing is sent and the result says why. Then sends.
    Result run();

    // Valid when, trimmed, it has at least 6 characters, exactly one "@", a "." inside the part
    // after it, and no space, control or line-separator character.
    static bool isValidEmail(const QString &text);
    // A control character (line breaks, tab, NUL ...) or a line or paragraph separator: none may
    // reach a message header.
    static bool holdsControlCharacter(const QString &text);
    // "Pausing the process for ..." for a pause of ms milliseconds.
    static QString Calculate_Pause_Time(qint64 ms);
    // The addresses of a recipients text, trimmed and in lower case, empty pieces skipped; false
    // with *bad set to the first piece that is not an address.
    static bool parseRecipients(const QString &text, QStringList *out, QString *bad);

    // A transport's error as the user is shown it: the script's own words, without its name,
    // kept to a size a message box can show.
    static QString reasonText(const QString &error);

    // Texts of the program.
    static QString settingsHint();
    static QString sentText();
    static QString failedText();
    static QString stoppedText(int sent, int planned); // "Stopped: N of M messages were sent."
    // What a run that sends each recipient more than one message, or some recipients none, is
    // about to do, said before it starts; empty when each recipient gets one message.
    static QString scaleText(const Outline &outline);
    // What a run is about to do in words: scaleText, else the messages it sends ("This sends 5
    // messages."); the same for the same run.
    static QString sizeText(const Outline &outline);
    // The file sent without the card, refused when it is not a readable regular file.
    static QString unreadableFileText(const QString &path);

private:
    struct Run;
    // How an item ended: done (counts towards a pause), left out, or the end of the run.
    enum class ItemEnd { Done, Skipped, EndRun };

    QString validate(QStringList *recipients, QString *fileName);
    bool renderCard(const std::shared_ptr<const RunPlan> &plan, int row, const QString &folder,
                    const QString &fileName, QStringList *files, QString *error);
    ItemEnd sendItem(int item, Run &run);
    MailTransport::Delivery sendOne(int recipient, int row, const QStringList &files, Run &run);
    void countDone(Run &run, int messages);
    void pairRows(Outline &outline, const QStringList &recipients) const;
    void pause();
    static void closingText(Result &result);
    Outline outlineOf(QStringList *recipients, QString *fileName);

    Request m_request;
    MailTransport &m_transport;
    ExportProgress &m_progress;
    Hooks m_hooks;
};
