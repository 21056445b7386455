#include "output/MailRun.h"

#include "foundation/CardCodes.h"
#include "foundation/StringUtils.h"
#include "output/BatchFiller.h"
#include "output/ExportPaths.h"
#include "output/ImageFileWriter.h"
#include "output/ScriptMailTransport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <chrono>
#include <limits>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The first `most` entries joined, and how many more there are.
QString boundedList(const QStringList &items, qsizetype most, const QString &separator, const QString &more)
{
    QString text = items.mid(0, most).join(separator);
    if (items.size() > most)
        text += more.arg(items.size() - most);
    return text;
}

// "1-3, 5" for rows 1, 2, 3 and 5 (ascending).
QString rowRanges(const QList<int> &rows)
{
    QStringList parts;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        parts << (j == i ? QString::number(rows[i]) : QStringLiteral("%1-%2").arg(rows[i]).arg(rows[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString countOf(int n, const QString &one, const QString &many)
{
    return n == 1 ? one : many.arg(QLocale(QLocale::English).toString(n));
}
QString attachmentNameText()
{
    return QStringLiteral("The attachment's name may not hold a line break or another control character.");
}

// A regular file this process can open for reading; nothing that could block (a FIFO) is opened.
bool readableFile(const QString &path)
{
    const QByteArray local = QFile::encodeName(path);
    if (local.isEmpty() || local.contains('\0'))
        return false;
    struct stat st {
    };
    if (::stat(local.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
} // namespace

// What one run carries from item to item.
struct MailRun::Run {
    Result result;
    QStringList recipients;
    QString fileName;
    Outline outline;
    std::optional<QTemporaryDir> folder; // the attachments of this run, removed with it
    QStringList cardFiles;               // card mode without data rows: drawn once, sent to everyone
    int done = 0;                        // messages done with: sent, refused, or left out with their row
};

MailRun::MailRun(Request request, MailTransport &transport, ExportProgress &progress, Hooks hooks)
    : m_request(std::move(request)), m_transport(transport), m_progress(progress), m_hooks(std::move(hooks))
{
    if (!m_hooks.sleep)
        m_hooks.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
}

QString MailRun::settingsHint()
{
    return QStringLiteral(
        "Please make sure that:\n1.Entered E-mail Settings are correct.\n2.Internet Connectivity to E-mail "
        "server is not interrupted and E-mail server is not down.\n3.Your firewall or security software(if "
        "any) is not blocking the software to communicate with your E-mail server.");
}

QString MailRun::sentText()
{
    return QStringLiteral("E-mail has been sent successfully.");
}

QString MailRun::failedText()
{
    return QStringLiteral(
        "Could not send email message.\nPlease make sure that:\n1. Entered E-mail settings are correct.\n2. "
        "Internet connectivity to E-mail server is not interrupted and E-mail server is not down.\n3. Your "
        "Firewall or Security software (if any) is not blocking the software to communicate with your E-mail "
        "server.");
}

QString MailRun::reasonText(const QString &error)
{
    QString why = error.trimmed();
    why.replace(QStringLiteral("pyth_mail: "), QString());
    constexpr qsizetype kLongest = 600; // a box is no place for a whole trace
    if (why.size() > kLongest)
        why = why.left(kLongest) + QStringLiteral("...");
    return why;
}

QString MailRun::stoppedText(int sent, int planned)
{
    return QStringLiteral("Stopped: %1 of %2 messages were sent.").arg(sent).arg(planned);
}

QString MailRun::scaleText(const Outline &outline)
{
    const QLocale english(QLocale::English);
    if (outline.batch && !outline.allToEvery &&
        (!outline.withoutCard.isEmpty() || !outline.withoutRecipient.isEmpty())) {
        QString text =
            QStringLiteral("This sends %1, each row's card to the recipient in the same place "
                           "in the list.")
                .arg(countOf(outline.planned, QStringLiteral("1 message"), QStringLiteral("%1 messages")));
        const QString more = QStringLiteral("\n(and %1 more)");
        if (!outline.withoutCard.isEmpty())
            text += QStringLiteral("\n\nNo card for:\n") +
                    boundedList(outline.withoutCard, 20, QStringLiteral("\n"), more);
        if (!outline.withoutRecipient.isEmpty())
            text += QStringLiteral("\n\nNo recipient for:\n") +
                    boundedList(outline.withoutRecipient, 20, QStringLiteral("\n"), more);
        return text;
    }
    if (!outline.allToEvery || outline.rows < 2 || outline.recipients < 1)
        return {};
    const QString recipients =
        outline.recipients == 1 ? QStringLiteral("1 recipient")
                                : QStringLiteral("%1 recipients").arg(english.toString(outline.recipients));
    const QString each =
        outline.recipients == 1
            ? QStringLiteral("one for each card")
            : QStringLiteral("%1 to each: every card to every recipient").arg(english.toString(outline.rows));
    return QStringLiteral("This sends %1 messages to %2, %3.")
        .arg(english.toString(qint64(outline.planned)), recipients, each);
}

QString MailRun::sizeText(const Outline &outline)
{
    const QString scale = scaleText(outline);
    if (!scale.isEmpty())
        return scale;
    const QString messages =
        countOf(outline.planned, QStringLiteral("1 message"), QStringLiteral("%1 messages"));
    return outline.batch && !outline.allToEvery
               ? QStringLiteral("This sends %1, each row's card to the recipient in the same place in "
                                "the list.")
                     .arg(messages)
               : QStringLiteral("This sends %1.").arg(messages);
}

QString MailRun::unreadableFileText(const QString &path)
{
    return QStringLiteral("The file to send cannot be read:\n\n\"%1\"").arg(path);
}

bool MailRun::holdsControlCharacter(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar ch) {
        const QChar::Category c = ch.category();
        return c == QChar::Other_Control || c == QChar::Separator_Line || c == QChar::Separator_Paragraph;
    });
}

bool MailRun::isValidEmail(const QString &text)
{
    const QString t = Trim_Str(text);
    const QStringList parts = t.split(QLatin1Char('@'));
    if (t.size() < 6 || parts.size() != 2 || holdsControlCharacter(t))
        return false;
    if (std::any_of(t.begin(), t.end(), [](QChar ch) { return ch.isSpace(); }))
        return false;
    // "friend@exam" is no address: the domain needs a dot with a name on either side.
    const QString &domain = parts[1];
    const qsizetype dot = domain.indexOf(QLatin1Char('.'));
    return dot > 0 && !domain.endsWith(QLatin1Char('.'));
}

QString MailRun::Calculate_Pause_Time(qint64 ms)
{
    const qint64 s = ms / 1000;
    const qint64 h = s / 3600, n = (s % 3600) / 60, c = s % 60;
    const QString hours = (h < 2 ? QStringLiteral("%1 Hour ") : QStringLiteral("%1 Hours ")).arg(h);
    const QString minutes = (n < 2 ? QStringLiteral("%1 Minute ") : QStringLiteral("%1 Minutes ")).arg(n);
    const QString seconds = (c < 2 ? QStringLiteral("%1 Second.") : QStringLiteral("%1 Seconds.")).arg(c);
    QString line = QStringLiteral("Pausing the process for ");
    if (h >= 1)
        return line + hours + minutes + seconds;
    if (n == 0)
        return line + seconds;
    return line + minutes + seconds;
}

bool MailRun::parseRecipients(const QString &text, QStringList *out, QString *bad)
{
    out->clear();
    for (const QString &piece : text.toLower().split(QLatin1Char(','))) {
        const QString address = Trim_Str(piece);
        if (address.isEmpty())
            continue;
        // A line break or another separator inside an address would reach the message headers.
        const bool plain = std::none_of(address.begin(), address.end(), [](QChar ch) {
            return ch.isSpace() || ch.category() == QChar::Other_Control || ch == QLatin1Char(';') ||
                   ch == QLatin1Char('<') || ch == QLatin1Char('>');
        });
        if (!plain || !isValidEmail(address)) {
            if (bad)
                *bad = address;
            return false;
        }
        out->append(address);
    }
    return !out->isEmpty();
}

QString MailRun::validate(QStringList *recipients, QString *fileName)
{
    if (Trim_Str(m_request.sender.toLower()).isEmpty())
        return settingsHint();
    // The header fields go to the mail script, which refuses such characters: say which field.
    if (holdsControlCharacter(Trim_Str(m_request.sender)))
        return QStringLiteral(
            "The sender E-mail address may not hold a line break or another control character.");
    if (holdsControlCharacter(m_request.subject))
        return QStringLiteral("The subject may not hold a line break or another control character.");
    if (Trim_Str(m_request.recipients).isEmpty())
        return QStringLiteral("Please specify the Recipient E-mail address.");
    QString bad;
    if (!parseRecipients(m_request.recipients, recipients, &bad)) {
        const QString text = QStringLiteral("Recipient E-mail address is invalid or incomplete.");
        return bad.isEmpty() ? text : text + QStringLiteral("\n\n\"%1\"").arg(bad);
    }
    if (m_request.body.toUtf8().size() > ScriptMailTransport::kMaxBodyBytes)
        return QStringLiteral("The message text is longer than 100 KiB; please shorten it.");
    if (m_request.mode == Mode::Card) {
        *fileName = Trim_Str(Remove_Reserve_Char_In_File_Name(m_request.fileName));
        // The name is joined to the run's folder: it must stay a plain name inside it.
        if (fileName->isEmpty() || fileName->contains(QLatin1Char('/')) ||
            fileName->contains(QLatin1Char('\\')) || fileName->contains(QLatin1String("..")))
            return QStringLiteral("Please enter valid file name.");
        const QString extensionProblem = ImageFileWriter::checkExtension(m_request.extension);
        if (!extensionProblem.isEmpty())
            return extensionProblem;
        if (holdsControlCharacter(*fileName))
            return attachmentNameText();
        if (!m_request.plan)
            return QStringLiteral("There is no card to send.");
    } else {
        const QString path = Trim_Str(m_request.attachment);
        if (!path.isEmpty()) {
            if (holdsControlCharacter(QFileInfo(path).fileName()))
                return attachmentNameText();
            if (!readableFile(path))
                return unreadableFileText(path);
        }
    }
    return {};
}

// Renders the chosen sides of one card (row < 0: the design as it stands) into the run's folder.
// The back goes first in the list, as the back is attached before the front.
bool MailRun::renderCard(const std::shared_ptr<const RunPlan> &plan, int row, const QString &folder,
                         const QString &fileName, QStringList *files, QString *error)
{
    const QString front = QDir(folder).filePath(fileName + QLatin1Char('.') +
                                                m_request.extension.toLower().remove(QLatin1Char('.')));
    const QString back = ExportPaths::Create_Back_Card_Path(front);
    const QString side = m_request.side;
    QList<QPair<bool, QString>> sides; // (is back, path)
    if (side == SideCode::Both)
        sides = {{true, back}, {false, front}};
    else if (side == SideCode::Front)
        sides = {{false, front}};
    else
        sides = {{true, back}};
    BatchFiller filler(plan, m_request.dpi);
    files->clear();
    for (const auto &[isBack, path] : sides) {
        const QImage image = row < 0 ? filler.renderUnfilled(isBack, error)
                                     : filler.Set_data_table_value_to_card(
                                           row, isBack ? SideCode::Back : SideCode::Front, false, error);
        if (image.isNull()) {
            if (error && error->isEmpty())
                *error = QStringLiteral("The card could not be drawn.");
            return false;
        }
        const ImageFileWriter::WriteResult written =
            ImageFileWriter::Save_gen_image(image, path, m_request.dpi);
        if (!written.ok) {
            if (error)
                *error = written.error;
            return false;
        }
        files->append(path);
    }
    return true;
}

MailTransport::Delivery MailRun::sendOne(int r, int row, const QStringList &files, Run &run)
{
    using Delivery = MailTransport::Delivery;
    // While the Stop question is open nothing is sent; a stop given as its answer sends nothing more.
    m_progress.waitWhilePaused();
    if (m_progress.stopRequested())
        return Delivery::Failed;
    const QString &recipient = run.recipients[r];
    if (m_hooks.log)
        m_hooks.log(QStringLiteral("Sending mail to %1").arg(recipient));
    MailTransport::Message message;
    message.sender = Trim_Str(m_request.sender.toLower());
    message.recipient = recipient;
    message.subject = m_request.subject;
    message.body = m_request.body;
    message.attachments = files;
    QString error;
    const Delivery delivery = m_transport.send(message, m_request.account, &error);
    countDone(run, 1);
    Result &result = run.result;
    Outcome &outcome = result.outcomes[r];
    if (delivery == Delivery::Sent) {
        ++result.sent;
        ++outcome.sent;
        ++m_progress.written;
        return delivery;
    }
    ++m_progress.failed;
    if (m_hooks.log)
        m_hooks.log(QStringLiteral("error in mail: %1").arg(error));
    const QString why = reasonText(error);
    if (delivery == Delivery::Refused) {
        outcome.refused << Outcome::Refusal{row, why.simplified()};
        return delivery;
    }
    // A message given up on Stop failed for no reason of the server's.
    if (m_progress.stopRequested())
        return Delivery::Failed;
    result.broken = true;
    result.ended =
        why.isEmpty() ? QStringLiteral("The message to %1 could not be sent.").arg(recipient) : why;
    return delivery;
}

void MailRun::countDone(Run &run, int messages)
{
    run.done += messages;
    m_progress.curr_barcode_count = run.done;
}

// Waits S - 1 seconds of a pause of S seconds in steps of one, the line counting down; a stop
// ends the wait within a step.
void MailRun::pause()
{
    const qint64 seconds = m_request.pauseMs / 1000;
    if (m_hooks.pauseLine)
        m_hooks.pauseLine(Calculate_Pause_Time(m_request.pauseMs));
    for (qint64 left = (seconds - 1) * 1000; left > 0 && !m_progress.stopRequested(); left -= 1000) {
        m_hooks.sleep(1000);
        if (m_hooks.pauseLine)
            m_hooks.pauseLine(Calculate_Pause_Time(left));
    }
    if (m_hooks.pauseLine)
        m_hooks.pauseLine(QString());
}

MailRun::Outline MailRun::outline()
{
    QStringList recipients;
    QString fileName;
    return outlineOf(&recipients, &fileName);
}

MailRun::Outline MailRun::outlineOf(QStringList *recipients, QString *fileName)
{
    Outline o;
    o.refusal = validate(recipients, fileName);
    if (!o.refusal.isEmpty())
        return o;
    const int r = int(recipients->size());
    int rows = 0;
    const bool paired = m_request.spread == Spread::OnePerRecipient;
    if (m_request.mode == Mode::Card) {
        o.batch = m_request.plan->isBatch();
        RunPlan::Choices choices = m_request.plan->choices();
        choices.sides = RunPlan::sidesOfCode(m_request.side);
        // Row i goes to recipient i: a blank row left out keeps its place, so no row moves up to
        // another recipient; the rows past the last recipient go to nobody.
        choices.leaveOutBlank = m_request.leaveOutBlank && !(o.batch && paired);
        if (o.batch && paired)
            choices.most = r;
        o.plan = m_request.plan->with(choices);
        rows = o.plan->cardCount();
    }
    o.rows = o.batch ? rows : 0;
    o.allToEvery = o.batch && !paired;
    o.recipients = r;
    o.items = o.allToEvery ? rows : r;
    if (o.batch && paired)
        pairRows(o, *recipients);
    const qint64 planned = !o.batch       ? r
                           : o.allToEvery ? qint64(rows) * r
                                          : qMin(rows, r) - qint64(o.blankLeftOut.size());
    // The progress counts messages in an int.
    if (planned > std::numeric_limits<int>::max()) {
        o.refusal =
            QStringLiteral("Every card to every recipient would make more messages than one run can "
                           "send (%1 cards to %2 recipients). Please send to fewer recipients at a time.")
                .arg(rows)
                .arg(r);
        return o;
    }
    o.planned = int(planned);
    return o;
}

// One card a recipient: who gets none, a blank row left out or no row left for them.
void MailRun::pairRows(Outline &o, const QStringList &recipients) const
{
    const QString word = o.plan->rowWord();
    for (int i = 0; i < std::min(o.rows, o.recipients); ++i) {
        if (!m_request.leaveOutBlank || !o.plan->blank(i))
            continue;
        o.blankLeftOut << i;
        o.withoutCard << QStringLiteral("%1 (%2 %3): its card is blank and was left out")
                             .arg(recipients[i], word)
                             .arg(o.plan->rowNumber(i));
    }
    // Rows past the last recipient make cards no message carries.
    QList<int> unsent;
    for (int i = o.recipients; i < o.rows; ++i)
        if (!m_request.leaveOutBlank || !o.plan->blank(i))
            unsent << o.plan->rowNumber(i);
    if (!unsent.isEmpty()) {
        o.rowsWithoutRecipient = int(unsent.size());
        o.withoutRecipient << QStringLiteral("%1%2 %3: there %4 for %5")
                                  .arg(word, unsent.size() == 1 ? QString() : QStringLiteral("s"),
                                       rowRanges(unsent),
                                       countOf(o.recipients, QStringLiteral("is 1 recipient"),
                                               QStringLiteral("are %1 recipients")),
                                       countOf(o.rows, QStringLiteral("1 card"), QStringLiteral("%1 cards")));
    }
    if (o.recipients > o.rows)
        o.withoutCard << QStringLiteral("%1: there %2 for %3")
                             .arg(
                                 boundedList(recipients.mid(o.rows), 20, QStringLiteral(", "),
                                             QStringLiteral(" and %1 more")),
                                 countOf(o.rows, QStringLiteral("is 1 card"), QStringLiteral("are %1 cards")),
                                 countOf(o.recipients, QStringLiteral("1 recipient"),
                                         QStringLiteral("%1 recipients")));
}

// One item: a message to one recipient, or one data row's card to every recipient. A refused
// message leaves the next recipient to be tried; what would fail every message ends the run.
MailRun::ItemEnd MailRun::sendItem(int i, Run &run)
{
    using Delivery = MailTransport::Delivery;
    const auto next = [](Delivery d) { return d == Delivery::Failed ? ItemEnd::EndRun : ItemEnd::Done; };
    const QString noFolder =
        QStringLiteral("No temporary folder for the attachments: %1").arg(run.folder->errorString());
    if (m_request.mode == Mode::WithoutCard) {
        const QString path = Trim_Str(m_request.attachment);
        // Checked before the run; a file gone since then is not left out without a word.
        if (!path.isEmpty() && !readableFile(path)) {
            run.result.ended = unreadableFileText(path);
            return ItemEnd::EndRun;
        }
        return next(sendOne(i, 0, path.isEmpty() ? QStringList() : QStringList{path}, run));
    }
    if (!run.outline.batch) {
        if (run.cardFiles.isEmpty()) {
            QString error;
            if (!run.folder->isValid() ||
                !renderCard(run.outline.plan, -1, run.folder->path(), run.fileName, &run.cardFiles, &error)) {
                run.result.ended = run.folder->isValid() ? error : noFolder;
                return ItemEnd::EndRun; // a card that cannot be drawn or written is sent to nobody
            }
        }
        return next(sendOne(i, 0, run.cardFiles, run));
    }
    if (i >= run.outline.rows)
        return ItemEnd::EndRun;
    if (run.outline.blankLeftOut.contains(i))
        return ItemEnd::Skipped; // its recipient gets nothing, as the question before said
    QStringList files;
    QString error = run.folder->isValid() ? QString() : noFolder;
    const int rowNumber = run.outline.plan->rowNumber(i);
    if (!run.folder->isValid() ||
        !renderCard(run.outline.plan, i, run.folder->path(), run.fileName, &files, &error)) {
        // The row is left out: nothing is sent for it and it does not count to a pause.
        QString word = run.result.rowWord;
        word[0] = word[0].toUpper();
        run.result.leftOut << QStringLiteral("%1 %2: %3").arg(word).arg(rowNumber).arg(error);
        if (m_hooks.log)
            m_hooks.log(run.result.leftOut.last());
        countDone(run, run.outline.allToEvery ? int(run.recipients.size()) : 1);
        return ItemEnd::Skipped;
    }
    if (!run.outline.allToEvery)
        return next(sendOne(i, rowNumber, files, run));
    for (int r = 0; r < run.recipients.size(); ++r) {
        if (m_progress.stopRequested() || sendOne(r, rowNumber, files, run) == Delivery::Failed)
            return ItemEnd::EndRun;
    }
    return ItemEnd::Done;
}

MailRun::Result MailRun::run()
{
    m_progress.Stop_SMS_Sending_Now = false;
    Run run;
    run.outline = outlineOf(&run.recipients, &run.fileName);
    const Outline &o = run.outline;
    if (!o.refusal.isEmpty()) {
        run.result.refused = true;
        run.result.message = o.refusal;
        return run.result;
    }
    // What each recipient is meant to get: every row's card, one row's card, or the one card.
    const bool rowEach = o.batch && !o.allToEvery;
    for (int r = 0; r < run.recipients.size(); ++r) {
        Outcome outcome;
        outcome.recipient = run.recipients[r];
        outcome.meant = o.allToEvery ? o.rows : rowEach ? int(r < o.rows && !o.blankLeftOut.contains(r)) : 1;
        outcome.row = rowEach && r < o.rows ? o.plan->rowNumber(r) : 0;
        run.result.outcomes << outcome;
    }
    run.result.planned = o.planned;
    run.result.withoutCard = o.withoutCard;
    run.result.withoutRecipient = o.withoutRecipient;
    run.result.rowsWithoutRecipient = o.rowsWithoutRecipient;
    if (o.batch)
        run.result.rowWord = o.plan->rowWord();
    run.folder.emplace();

    // The sheet counts messages done with, so a message hanging on the server shows as not done.
    m_progress.start(o.planned);
    int sinceLastPause = 0;
    for (int i = 0; i < o.items; ++i) {
        // No item begins while the Stop question is open.
        m_progress.waitWhilePaused();
        if (m_progress.stopRequested())
            break;
        const ItemEnd end = sendItem(i, run);
        if (end == ItemEnd::EndRun)
            break;
        if (end == ItemEnd::Skipped)
            continue;
        ++sinceLastPause;
        if (m_request.delayed && sinceLastPause == m_request.pauseEvery && i + 1 != o.items) {
            pause();
            sinceLastPause = 0;
        }
    }
    run.result.stopped = m_progress.stopRequested();
    closingText(run.result);
    return std::move(run.result);
}

namespace
{
// "a@example.org (rows 1-3): why": one line for each reason the server gave a recipient, in the
// order first given.
QStringList refusalLines(const MailRun::Outcome &outcome, const QString &rowWord)
{
    QList<QPair<QString, QList<int>>> reasons; // a reason and its rows
    for (const MailRun::Outcome::Refusal &refusal : outcome.refused) {
        auto it = std::find_if(reasons.begin(), reasons.end(),
                               [&refusal](const auto &r) { return r.first == refusal.reason; });
        if (it == reasons.end())
            it = reasons.insert(reasons.end(), {refusal.reason, {}});
        if (refusal.row > 0)
            it->second << refusal.row;
    }
    QStringList out;
    for (const auto &[reason, rows] : reasons) {
        QString head = outcome.recipient;
        if (!rows.isEmpty())
            head += QStringLiteral(" (%1%2 %3)")
                        .arg(rowWord, rows.size() == 1 ? QString() : QStringLiteral("s"), rowRanges(rows));
        out << (reason.isEmpty() ? head : head + QStringLiteral(": ") + reason);
    }
    return out;
}
} // namespace

QStringList MailRun::Result::problems() const
{
    QStringList out = leftOut;
    for (const QString &line : withoutCard)
        out << QStringLiteral("No card for ") + line;
    for (const QString &line : withoutRecipient)
        out << QStringLiteral("No recipient for ") + line;
    for (const Outcome &outcome : outcomes)
        out << refusalLines(outcome, rowWord);
    if (!ended.isEmpty())
        out << ended;
    return out;
}

void MailRun::closingText(Result &result)
{
    if (result.allSent()) {
        result.message = sentText();
        return;
    }
    QString text;
    if (result.stopped) {
        text = stoppedText(result.sent, result.planned);
    } else if (result.sent == result.planned &&
               (!result.withoutCard.isEmpty() || !result.withoutRecipient.isEmpty())) {
        // Each message meant went out, but not every recipient was meant one or not every card
        // had a recipient: never a plain success.
        const auto none = std::count_if(result.outcomes.begin(), result.outcomes.end(),
                                        [](const Outcome &o) { return o.meant == 0; });
        QStringList parts{countOf(result.sent, QStringLiteral("1 message was sent"),
                                  QStringLiteral("%1 messages were sent"))};
        if (none > 0)
            parts << countOf(int(none), QStringLiteral("1 recipient got no card"),
                             QStringLiteral("%1 recipients got no card"));
        if (result.rowsWithoutRecipient > 0)
            parts << (result.rowsWithoutRecipient == 1
                          ? QStringLiteral("the card of 1 %1 went to nobody").arg(result.rowWord)
                          : QStringLiteral("the cards of %1 %2s went to nobody")
                                .arg(result.rowsWithoutRecipient)
                                .arg(result.rowWord));
        text = parts.join(QStringLiteral("; ")) + QLatin1Char('.');
    } else if (result.planned == 0) {
        text = failedText() + QStringLiteral("\n\nThere was no message to send.");
    } else {
        const QString count = QStringLiteral("%1 of %2 messages could not be sent.")
                                  .arg(result.planned - result.sent)
                                  .arg(result.planned);
        // The settings checklist only when the server could not be reached or took no message:
        // a refused recipient says nothing about the settings.
        text = result.broken ? failedText() + QStringLiteral("\n\n") + count : count;
    }
    // The rows left out and what ended the run, each message the server refused, then who got
    // nothing; each kept to a size a box can show.
    constexpr qsizetype kReasons = 5, kLines = 20;
    QStringList reasons = result.leftOut;
    if (!result.ended.isEmpty())
        reasons << result.ended;
    QStringList refused, nothing;
    for (const Outcome &outcome : result.outcomes) {
        refused << refusalLines(outcome, result.rowWord);
        if (outcome.meant > 0 && outcome.sent == 0 && outcome.refused.isEmpty())
            nothing
                << (outcome.row > 0
                        ? QStringLiteral("%1 (%2 %3)").arg(outcome.recipient, result.rowWord).arg(outcome.row)
                        : outcome.recipient);
    }
    if (!result.stopped && !reasons.isEmpty())
        text += QStringLiteral("\n\n") +
                boundedList(reasons, kReasons, QStringLiteral("\n"), QStringLiteral("\n(and %1 more)"));
    if (!refused.isEmpty())
        text += QStringLiteral("\n\nNot sent:\n") +
                boundedList(refused, kLines, QStringLiteral("\n"), QStringLiteral("\n(and %1 more)"));
    if (!result.withoutCard.isEmpty())
        text +=
            QStringLiteral("\n\nNo card for:\n") +
            boundedList(result.withoutCard, kLines, QStringLiteral("\n"), QStringLiteral("\n(and %1 more)"));
    if (!result.withoutRecipient.isEmpty())
        text += QStringLiteral("\n\nNo recipient for:\n") + boundedList(result.withoutRecipient, kLines,
                                                                        QStringLiteral("\n"),
                                                                        QStringLiteral("\n(and %1 more)"));
    if (!result.stopped && !nothing.isEmpty())
        text += QStringLiteral("\n\nNothing was sent to: ") +
                boundedList(nothing, kLines, QStringLiteral(", "), QStringLiteral(" and %1 more")) +
                QLatin1Char('.');
    result.message = text;
}
