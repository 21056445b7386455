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
#include <QTemporaryDir>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// A reason the run ends or leaves something out, as the closing text and the log give it.
void recordError(MailRun::Result &result, const QString &why)
{
    result.errors << why;
    result.reasons << why;
}

// Who was meant to get something and got nothing.
QStringList unreachedOf(const QStringList &recipients, const QList<bool> &reached, qsizetype meant)
{
    QStringList unreached;
    for (qsizetype r = 0; r < meant; ++r)
        if (!reached[r])
            unreached << recipients[r];
    return unreached;
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
        if (!m_request.snapshot)
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
bool MailRun::renderCard(int row, const QString &folder, const QString &fileName, QStringList *files,
                         QString *error)
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
    BatchFiller filler(m_request.snapshot, m_request.dpi);
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

bool MailRun::sendOne(const QString &recipient, const QStringList &files, Result &result)
{
    // While the Stop question is open nothing is sent; a stop given as its answer sends nothing more.
    m_progress.waitWhilePaused();
    if (m_progress.stopRequested())
        return false;
    if (m_hooks.log)
        m_hooks.log(QStringLiteral("Sending mail to %1").arg(recipient));
    MailTransport::Message message;
    message.sender = Trim_Str(m_request.sender.toLower());
    message.recipient = recipient;
    message.subject = m_request.subject;
    message.body = m_request.body;
    message.attachments = files;
    QString error;
    if (m_transport.send(message, m_request.account, &error)) {
        ++result.sent;
        ++m_progress.written;
        return true;
    }
    ++m_progress.failed;
    result.errors << QStringLiteral("%1: %2").arg(recipient, error);
    // A message given up on Stop failed for no reason of the server's.
    if (!m_progress.stopRequested()) {
        const QString why = reasonText(error);
        if (!why.isEmpty() && !result.reasons.contains(why))
            result.reasons << why;
    }
    if (m_hooks.log)
        m_hooks.log(QStringLiteral("error in mail: %1").arg(error));
    return false;
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
    return plan(&recipients, &fileName);
}

MailRun::Outline MailRun::plan(QStringList *recipients, QString *fileName)
{
    Outline o;
    o.refusal = validate(recipients, fileName);
    if (!o.refusal.isEmpty())
        return o;
    const int r = int(recipients->size());
    int rows = 0;
    if (m_request.mode == Mode::Card) {
        BatchFillSnapshot &s = *m_request.snapshot;
        s.Check_Series_Or_Excel_Use_or_not();
        if (!m_request.useSeries)
            s.Use_Data_Sheet_Values = false;
        if (!m_request.useExcel)
            s.Use_Excel_Binding_Values = false;
        s.Get_total_Card_count();
        o.batch = m_request.useSeries || m_request.useExcel;
        rows = s.Total_Batch_Excel_Card;
    }
    const bool allToEvery = o.batch && m_request.spread == Spread::AllToEvery;
    o.items = allToEvery ? rows : r;
    o.planned = !o.batch ? r : allToEvery ? rows * r : qMin(rows, r);
    return o;
}

MailRun::Result MailRun::run()
{
    Result result;
    m_progress.Stop_SMS_Sending_Now = false;
    QStringList recipients;
    QString fileName;
    const Outline o = plan(&recipients, &fileName);
    if (!o.refusal.isEmpty()) {
        result.refused = true;
        result.message = o.refusal;
        return result;
    }
    const bool batch = o.batch;
    const int rows = batch ? m_request.snapshot->Total_Batch_Excel_Card : 0;
    const bool allToEvery = batch && m_request.spread == Spread::AllToEvery;
    const int items = o.items;
    result.planned = o.planned;

    QTemporaryDir folder; // the attachments of this run, removed with it
    const QString noFolder =
        QStringLiteral("No temporary folder for the attachments: %1").arg(folder.errorString());

    m_progress.start(items);
    QStringList cardFiles; // card mode without a batch: drawn once, sent to everyone
    int sinceLastPause = 0;
    QList<bool> reached(recipients.size(), false);
    const auto sendTo = [&](int r, const QStringList &files) {
        const bool sent = sendOne(recipients[r], files, result);
        reached[r] = reached[r] || sent;
        return sent;
    };
    for (int i = 0; i < items; ++i) {
        // No item begins while the Stop question is open.
        m_progress.waitWhilePaused();
        if (m_progress.stopRequested())
            break;
        m_progress.beginItem(i);
        if (m_request.mode == Mode::WithoutCard) {
            const QString path = Trim_Str(m_request.attachment);
            // Checked before the run; a file gone since then is not left out without a word.
            if (!path.isEmpty() && !readableFile(path)) {
                recordError(result, unreadableFileText(path));
                break;
            }
            if (!sendTo(i, path.isEmpty() ? QStringList() : QStringList{path}))
                break;
        } else if (!batch) {
            if (cardFiles.isEmpty()) {
                QString error;
                if (!folder.isValid() || !renderCard(-1, folder.path(), fileName, &cardFiles, &error)) {
                    recordError(result, folder.isValid() ? error : noFolder);
                    break; // a card that cannot be drawn or written is sent to nobody
                }
            }
            if (!sendTo(i, cardFiles))
                break;
        } else {
            if (i >= rows)
                break;
            QStringList files;
            QString error = folder.isValid() ? QString() : noFolder;
            if (!folder.isValid() || !renderCard(i, folder.path(), fileName, &files, &error)) {
                // The row is left out: nothing is sent for it and it does not count to a pause.
                recordError(result, QStringLiteral("Row %1: %2").arg(i + 1).arg(error));
                if (m_hooks.log)
                    m_hooks.log(result.errors.last());
                continue;
            }
            if (allToEvery) {
                for (int r = 0; r < recipients.size(); ++r) {
                    if (m_progress.stopRequested() || !sendTo(r, files))
                        break;
                }
            } else if (!sendTo(i, files)) {
                break;
            }
        }
        ++sinceLastPause;
        if (m_request.delayed && sinceLastPause == m_request.pauseEvery && i + 1 != items) {
            pause();
            sinceLastPause = 0;
        }
    }
    m_progress.curr_barcode_count = items;
    result.stopped = m_progress.stopRequested();
    // Who was meant to get something: every recipient, or with one row each the first rows' many.
    const qsizetype meant =
        batch && !allToEvery ? qMin<qsizetype>(rows, recipients.size()) : recipients.size();
    result.unreached << unreachedOf(recipients, reached, meant);
    closingText(result);
    return result;
}

void MailRun::closingText(Result &result)
{
    if (result.allSent()) {
        result.message = sentText();
        return;
    }
    if (result.stopped) {
        result.message = stoppedText(result.sent, result.planned);
        return;
    }
    QString text = failedText();
    if (result.planned == 0)
        text += QStringLiteral("\n\nThere was no message to send.");
    else
        text += QStringLiteral("\n\n%1 of %2 messages could not be sent.")
                    .arg(result.planned - result.sent)
                    .arg(result.planned);
    // What the server or the script said, then who got nothing; both kept to a size a box can show.
    constexpr qsizetype kReasons = 5, kNames = 20;
    if (!result.reasons.isEmpty()) {
        text += QStringLiteral("\n\n") + result.reasons.mid(0, kReasons).join(QLatin1Char('\n'));
        if (result.reasons.size() > kReasons)
            text += QStringLiteral("\n(and %1 more)").arg(result.reasons.size() - kReasons);
    }
    if (!result.unreached.isEmpty()) {
        text += QStringLiteral("\n\nNothing was sent to: ") +
                result.unreached.mid(0, kNames).join(QStringLiteral(", "));
        text += result.unreached.size() > kNames
                    ? QStringLiteral(" and %1 more.").arg(result.unreached.size() - kNames)
                    : QStringLiteral(".");
    }
    result.message = text;
}
