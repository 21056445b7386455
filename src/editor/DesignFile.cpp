#include "editor/DesignFile.h"

#include "data/FreedMemory.h"
#include "data/SeriesFiles.h"
#include "editor/DesignEditor.h"
#include "editor/EditorState.h"
#include "editor/HeldSeries.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/StringUtils.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "model/SKTImage.h"
#include "output/OwnBarcodePicture.h"
#include "platform/PropertyList.h"

#include "platform/SaveFileCommit.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QThread>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace
{
// Design files are small; a bigger file is not one of ours and is refused before reading it all.
constexpr qint64 MaxDesignFileSize = 512LL * 1024 * 1024;
// Beyond this many, the missing pictures are counted rather than named: the box must fit a screen.
constexpr int MaxPicturesNamed = 10;
// How long a save waits for another instance's save of the same file to end.
constexpr int SaveLockWaitMs = 60'000;

// Tests bring saves together here. The folder TESSALY_TEST_SAVE_RENDEZVOUS names gets
// "<stage>-<pid>", and the save goes on once "<stage>-go" is there (or after a minute): stage
// "written" between writing the new file and replacing the design file with it; stage "replaced"
// right after replacing it, only while "hold-replaced" is there.
void meetOtherSaves(const QString &stage)
{
    static const QString folder = qEnvironmentVariable("TESSALY_TEST_SAVE_RENDEZVOUS");
    if (folder.isEmpty())
        return;
    const QDir dir(folder);
    if (stage != QLatin1String("written") &&
        !QFileInfo::exists(dir.filePath(QStringLiteral("hold-") + stage)))
        return;
    QFile mark(dir.filePath(QStringLiteral("%1-%2").arg(stage).arg(QCoreApplication::applicationPid())));
    if (mark.open(QIODevice::WriteOnly))
        mark.close();
    const QDeadlineTimer deadline(60'000);
    while (!QFileInfo::exists(dir.filePath(stage + QStringLiteral("-go"))) && !deadline.hasExpired())
        QThread::msleep(5);
}

// Holds the editor's title while the design is replaced: compared with the one it replaces, a
// half-made design would show as changed.
class TitleHold
{
public:
    explicit TitleHold(DesignEditor *editor) : m_editor(editor)
    {
        if (m_editor)
            m_editor->holdTitle(true);
    }
    ~TitleHold()
    {
        if (m_editor)
            m_editor->holdTitle(false);
    }
    TitleHold(const TitleHold &) = delete;
    TitleHold &operator=(const TitleHold &) = delete;

private:
    DesignEditor *m_editor;
};
} // namespace

DesignFile::DesignFile(SKTDocument &document, DesignEditor *editor) : m_document(document), m_editor(editor)
{
}

bool DesignFile::writeItems(const QString &path, const plist::Array &items, QString *error)
{
    return PropertyList::writeFile(path, plist::Value(items), PropertyList::Format::Xml, error);
}

// One save's replacing of the design file: the new file is written beside it, then, under the lock
// every instance's save holds for its check and its replacing, put in its place only while the file
// there is still the one this save may replace.
struct DesignFile::Replacement {
    enum class Step { Replaced, Changed, Busy, Failed };
    QString path;
    DiskState expected; // the file this save may replace
    std::unique_ptr<QSaveFile> file;
    FileId written;
    QString error;
    Step step = Step::Failed;
    DiskState found; // the file there after the check (and the replacing)

    // A file that is gone holds no one's work: saving puts the design back.
    bool holdsOthersSave(const DiskState &now) const { return now.exists() && now != expected; }

    void replaceUnderLock()
    {
        QLockFile lock(saveLockPath(path));
        lock.setStaleLockTime(0); // only a living holder counts
        // A folder that takes no lock file took no new design file either: the check holds without it.
        if (!lock.tryLock(SaveLockWaitMs) && lock.error() == QLockFile::LockFailedError) {
            step = Step::Busy;
            return;
        }
        found = diskStateOf(path);
        if (holdsOthersSave(found)) {
            step = Step::Changed;
            return;
        }
        step = SaveFileCommit::commit(*file, &error) ? Step::Replaced : Step::Failed;
        if (step == Step::Replaced)
            meetOtherSaves(QStringLiteral("replaced"));
        // Seen while the lock keeps another instance's save out.
        found = diskStateOf(path);
    }
};

std::optional<QString> DesignFile::pathToSave(bool save_as)
{
    EditorState &state = EditorState::instance();
    if (save_as)
        state.Project_File_Name.clear();
    const QString path = Trim_Str(state.Project_File_Name);
    if (!path.isEmpty())
        return path;
    const std::optional<QString> chosen = m_editor ? m_editor->chooseSavePath() : std::nullopt;
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    state.Project_File_Name = *chosen;
    return chosen;
}

CardDesign DesignFile::designToSave()
{
    CardDesign copy = m_document.design().deepCopy();
    for (Card_Property *page : {&copy.frontPage, &copy.backPage})
        DesignFileFormat::dropUnusedPicturePath(*page);
    // Saving drops a picture path the page does not fill with, in the design as in the file.
    m_document.putSettingsUnrecorded(copy.settings());
    return copy;
}

DesignResult DesignFile::Save_project_file(bool save_as, bool show_msg, const ReplaceChanged &replaceChanged)
{
    EditorState &state = EditorState::instance();
    const QString remembered = state.Project_File_Name;
    const DesignResult cancelled{DesignResult::Status::Cancelled, QString(), QString()};
    const std::optional<QString> path = pathToSave(save_as);
    if (!path) {
        state.Project_File_Name = remembered;
        return cancelled;
    }
    const auto notSaved = [&](DesignResult result) {
        // A save that did not happen keeps the file the design had: a file never written is not its file.
        state.Project_File_Name = remembered;
        if (m_editor)
            m_editor->Set_Log_Name_In_Title();
        return result;
    };
    // The file this save may replace: the one this program opened or last saved there; on another
    // path, what stands there now (nothing, or the file the save panel agreed to replace).
    Replacement run;
    run.path = *path;
    run.expected = !save_as && *path == m_disk.path && m_disk.exists() ? m_disk : diskStateOf(*path);
    // Another's save already there is asked about before the long write.
    if (const DiskState now = diskStateOf(*path); run.holdsOthersSave(now)) {
        if (!replaceChanged || !replaceChanged(*path))
            return notSaved(cancelled);
        run.expected = now;
    }
    // The objects and rows are written from a copy by the worker, while the window takes no input.
    CardDesign copy = designToSave();
    // Made here and written by the worker: it lives and ends on the window's thread.
    run.file = std::make_unique<QSaveFile>(*path);
    bool written = false;
    runLongWork([&] {
        // Written as it is made, the rows straight from the table: a design bound to many rows
        // was held three times over, as values, as the file's bytes, and in the table.
        written = writeUncommitted(
            *run.file, [&copy](QIODevice &out) { return DesignFileFormat::write(out, copy); }, &run.written,
            &run.error);
        if (!written)
            return;
        meetOtherSaves(QStringLiteral("written"));
        run.replaceUnderLock();
    });
    if (!written)
        return notSaved(saveFailed(*path, run.error));
    if (std::optional<DesignResult> refused = settleReplacement(run, replaceChanged))
        return notSaved(*refused);
    return saved(run, show_msg);
}

std::optional<DesignResult> DesignFile::settleReplacement(Replacement &run,
                                                          const ReplaceChanged &replaceChanged)
{
    while (run.step == Replacement::Step::Changed) {
        // Another's save came while this one was writing: asked now, outside the lock.
        if (!replaceChanged || !replaceChanged(run.path)) {
            run.file->cancelWriting();
            return DesignResult{DesignResult::Status::Cancelled, QString(), QString()};
        }
        run.expected = run.found;
        runLongWork([&run] { run.replaceUnderLock(); });
    }
    const QString name = QFileInfo(run.path).fileName();
    if (run.step == Replacement::Step::Busy) {
        run.file->cancelWriting();
        return saveFailed(
            run.path, QStringLiteral("Another instance of the program is still saving \"%1\".").arg(name));
    }
    if (run.step == Replacement::Step::Failed)
        return saveFailed(run.path, QStringLiteral("Could not save \"%1\": %2.").arg(name, run.error));
    return std::nullopt;
}

DesignResult DesignFile::saved(const Replacement &run, bool show_msg)
{
    DesignResult result;
    // The file there is this save's own, unless a program that takes no lock put its own in its place.
    if (run.found.device != run.written.device || run.found.inode != run.written.inode) {
        // Remembered as this save wrote it: the next save asks before replacing the other's.
        m_disk = DiskState{run.path, run.written.size, -1, run.written.device, run.written.inode};
        result =
            DesignResult{DesignResult::Status::Failed, replacedAtOnceMessage(run.path),
                         QStringLiteral("The design file %1 was replaced by another program as it was saved.")
                             .arg(run.path)};
    } else {
        markClean();
        m_disk = run.found;
        result = DesignResult::done(show_msg ? savedMessage(run.path) : QString());
    }
    if (m_editor)
        m_editor->Set_Log_Name_In_Title();
    return result;
}

QString DesignFile::savedMessage(const QString &path)
{
    return QStringLiteral("Greeting Card Design Log \"%1\" has been saved successfully.")
        .arg(QFileInfo(path).fileName());
}

QString DesignFile::replacedAtOnceMessage(const QString &path)
{
    return QStringLiteral(
               "The design was saved, but the file \"%1\" is no longer the one this save wrote: another "
               "program replaced it at the same moment.\n\nThe design stays here unsaved: save it again "
               "to replace that file, or save it as another file.")
        .arg(QDir::toNativeSeparators(path));
}

QString DesignFile::saveLockPath(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".lock"));
}

DesignResult DesignFile::saveFailed(const QString &path, const QString &reason)
{
    return DesignResult{DesignResult::Status::Failed, saveFailedMessage(path, reason), reason};
}

void DesignFile::resetToNewDesign(const std::function<void(DesignSettings &)> &start)
{
    const TitleHold hold(m_editor);
    // The panels record nothing while the design is replaced; the state ends on every way out.
    const SKTDocument::Replacing replacing(m_document);
    ModelGlobals &g = ModelGlobals::instance();
    // The back goes first: clearing the history then forgets its removal too.
    m_document.removeAllGraphicsFromSide(SKTDocument::Back);
    m_document.Clear_All_Undo_Redo();
    g.last_ctrl_X = 10.0f;
    g.last_ctrl_Y = 10.0f;
    EditorState::instance().Project_File_Name.clear();
    DesignSettings settings = m_document.design().settings();
    settings.resetPages();
    if (start)
        start(settings);
    m_document.putSettingsUnrecorded(settings);
    if (m_editor)
        m_editor->New_Project_Setting_Reset();
    markClean();
    m_disk = DiskState();
}

QString DesignFile::saveFailedMessage(const QString &path, const QString &reason)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    const QString head = QStringLiteral("The design could not be saved in the folder \"%1\".").arg(folder);
    return reason.isEmpty() ? head : head + QStringLiteral("\n\n") + reason;
}

QByteArray DesignFile::fingerprint() const
{
    // A copy: writing the items drops a picture path that is not the page fill, which only a
    // save may do to the live page settings.
    CardDesign design = m_document.design();
    // The rows are hashed apart, and again only when they changed: this is asked after every click,
    // and a design may hold a hundred thousand rows.
    const BindingRows rows = design.binding.rows();
    const QList<int> sheetRows = design.binding.sheetRows();
    const UncomputedFormulas marks = design.binding.uncomputedFormulas();
    design.binding.setListData({});
    design.binding.setWorkbookOrigin(sheetRows, marks);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(PropertyList::writeBinary(plist::Value(DesignFileFormat::buildItems(design))));
    hash.addData(rowsDigest(rows));
    return hash.result();
}

QByteArray DesignFile::rowsDigest(const BindingRows &rows) const
{
    // The kept copy shares the rows' storage: any change to them since gives them storage of their own.
    if (m_rowsDigest.rows.isSharedWith(rows) && !m_rowsDigest.digest.isEmpty())
        return m_rowsDigest.digest;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto add = [&hash](QStringView text) {
        const qint64 length = text.size();
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(&length), sizeof length));
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(text.constData()), text.size() * 2));
    };
    for (qsizetype r = 0; r < rows.size(); ++r) {
        add(QString::number(rows.cellCount(r)));
        for (int k : rows.keyOrder()) {
            if (rows.has(r, k)) {
                add(rows.key(k));
                add(rows.view(r, k));
            }
        }
    }
    m_rowsDigest = {rows, hash.result()};
    return m_rowsDigest.digest;
}

void DesignFile::runLongWork(const std::function<void()> &work)
{
    if (m_editor)
        m_editor->runLongWork(work);
    else
        work();
}

bool DesignFile::isModified() const
{
    return fingerprint() != m_cleanFingerprint;
}

void DesignFile::markClean()
{
    m_cleanFingerprint = fingerprint();
    if (m_editor)
        m_editor->designBecameClean();
}

DesignFile::DiskState DesignFile::diskStateOf(const QString &path)
{
    DiskState s;
    s.path = path;
    struct stat st {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return s;
    s.size = st.st_size;
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    return s;
}

void DesignFile::rememberDiskState(const QString &path)
{
    m_disk = diskStateOf(path);
}

bool DesignFile::changedOnDisk() const
{
    const QString path = EditorState::instance().Project_File_Name;
    if (path.isEmpty() || path != m_disk.path || !m_disk.exists())
        return false;
    const DiskState now = diskStateOf(path);
    // A file that is gone holds no one's work: saving puts the design back.
    return now.exists() && now != m_disk;
}

bool DesignFile::writeUncommitted(QSaveFile &file, const std::function<bool(QIODevice &)> &write, FileId *id,
                                  QString *error)
{
    const QString name = QFileInfo(file.fileName()).fileName();
    const auto fail = [&](const QString &why) {
        *error = QStringLiteral("Could not save \"%1\": %2.").arg(name, why);
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Could not save \"%1\": %2.").arg(name, file.errorString());
        return false;
    }
    errno = 0;
    // A full disk gives a short write (or a failed flush) that Qt leaves without a reason: the
    // system's own is taken then.
    if (!write(file) || !file.flush()) {
        const int err = errno;
        return fail(err != 0 ? QString::fromLocal8Bit(std::strerror(err)) : file.errorString());
    }
    // The new file keeps its identity when it replaces the old one: after the replacing, the file
    // at the path is this save's own only when it is this one.
    struct stat st {
    };
    if (::fstat(file.handle(), &st) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    *id = FileId{qint64(st.st_size), quint64(st.st_dev), quint64(st.st_ino)};
    return true;
}

bool DesignFile::openDesignFile(QFile &file, QString *reason)
{
    // A device or pipe would never end (or never open): only regular files are designs.
    if (!QFileInfo(file.fileName()).isFile()) {
        if (reason)
            *reason = QStringLiteral("not a regular file");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    if (file.size() > MaxDesignFileSize) {
        if (reason)
            *reason = QStringLiteral("the file is too large for a design");
        return false;
    }
    return true;
}

bool DesignFile::readFileBytes(const QString &path, QByteArray *bytes, QString *reason)
{
    QFile file(path);
    if (!openDesignFile(file, reason))
        return false;
    const QByteArray data = file.readAll();
    if (bytes)
        *bytes = data;
    return true;
}

namespace
{
// A design file past this size (some 100,000 rows of two columns) gives its parse's memory back.
constexpr qsizetype LargeFileBytes = qsizetype(16) << 20;
} // namespace

bool DesignFile::readDesign(const QString &path, CardDesign *out, QString *reason)
{
    QFile file(path);
    if (!openDesignFile(file, reason))
        return false;
    // Parsed as it is read: the file's bytes, as large as the rows they hold and more, are never
    // held beside them.
    bool parsed = DesignFileFormat::parse(file, out, reason);
    if (file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = file.errorString();
        parsed = false;
    }
    // The small values of a large file's parse, let go by now, were millions of strings whose
    // pages the allocator would otherwise keep: the window stayed as large as the parse made it.
    if (file.size() > LargeFileBytes)
        FreedMemory::release();
    if (!parsed)
        return false;
    // A barcode saved without its picture shows its own symbol.
    OwnBarcodePicture::fill(*out, Data_Folder_Path);
    return true;
}

DesignResult DesignFile::Read_and_load_design_Log(const QString &path, const QString &log_or_template)
{
    DesignResult corrupt{DesignResult::Status::Failed, CorruptMessage, QString()};
    // Reading, checking and decoding the pictures happen off the window's thread; the design shown
    // changes only below, at once.
    CardDesign read;
    bool parsed = false;
    runLongWork([&] { parsed = readDesign(path, &read, &corrupt.reason); });
    if (!parsed)
        return corrupt;
    {
        const TitleHold hold(m_editor);
        apply(std::move(read), path, log_or_template);
        markClean();
    }
    if (log_or_template == QLatin1String("L"))
        rememberDiskState(path);
    // Pictures and series are links to the user's files: one that moved would leave its frame
    // silently empty, or stop every run.
    QStringList gone{missingPicturesMessage(m_document.graphics(), m_document.graphics_back()),
                     goneSeriesMessage(m_document.design(), Data_Folder_Path)};
    gone.removeAll(QString());
    return DesignResult::done(gone.join(QStringLiteral("\n\n")));
}

QString DesignFile::goneSeriesMessage(const CardDesign &design, const QString &dataFolder)
{
    QStringList lines;
    for (const QString &name : HeldSeries::bound(design.front, design.back, design.frontPage.Card_Side)) {
        const QString path = SeriesFiles::safePath(dataFolder, name);
        if (path.isEmpty())
            lines << QStringLiteral("The series \"%1\" was not found.").arg(name);
        else if (!QFileInfo(path).isFile())
            lines << QStringLiteral("The series \"%1\" was not found: its file %2 is gone.")
                         .arg(name, QDir::toNativeSeparators(path));
    }
    if (lines.isEmpty())
        return {};
    return lines.join(QLatin1Char('\n')) +
           QStringLiteral(
               "\n\nNo card is made while a series it reads is gone: put the file back, or bind the "
               "objects to another series.");
}

QString DesignFile::missingPicturesMessage(const GraphicList &front, const GraphicList &back)
{
    QStringList lines;
    int count = 0;
    for (const auto &[side, list] :
         {std::pair{QStringLiteral("Front"), &front}, {QStringLiteral("Back"), &back}}) {
        for (const SKTImage::MissingPicture &missing : SKTImage::missingPictures(*list)) {
            if (++count <= MaxPicturesNamed)
                lines << side + QStringLiteral(": ") + SKTImage::describe(missing);
        }
    }
    if (count == 0)
        return {};
    if (count > MaxPicturesNamed)
        lines << QStringLiteral("... and %1 more.").arg(count - MaxPicturesNamed);
    const QString head = count == 1 ? QStringLiteral("1 picture of this design was not found:")
                                    : QStringLiteral("%1 pictures of this design were not found:").arg(count);
    const QString tail = count == 1
                             ? QStringLiteral("Its frame stays empty until the picture is chosen again, or "
                                              "the file is put back and the design opened again.")
                             : QStringLiteral("Their frames stay empty until the pictures are chosen again, "
                                              "or the files are put back and the design opened again.");
    return head + QLatin1Char('\n') + lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + tail;
}

void DesignFile::apply(CardDesign read, const QString &path, const QString &mode)
{
    std::optional<SKTDocument::Replacing> replacing;
    {
        // One notice for the opening: the new design's, not the empty one's on the way.
        const SKTDocument::SettingsNoticeHold notice(m_document);
        resetToNewDesign();
        EditorState::instance().Project_File_Name = mode == QLatin1String("L") ? path : QString();
        // Pictures are not stored: a page filled with one reads it again from its path.
        for (Card_Property *page : {&read.backPage, &read.frontPage})
            if (page->Card_fill_chk && page->Card_fill_style == FillCode::Picture &&
                !page->Card_BG_Image_Path.isEmpty())
                page->setBackgroundImage(page->Card_BG_Image_Path);
        replacing.emplace(m_document);
        m_document.replaceDesign(std::move(read));
    }
    // The design is in place: the editor shows it, the inspector its card page.
    replacing.reset();
    if (m_editor)
        m_editor->showDesign();
}
