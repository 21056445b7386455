#include "editor/TemplateStore.h"

#include "data/SeriesName.h"
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "editor/GreetingTexts.h"
#include "foundation/FileUtils.h"
#include "foundation/StringUtils.h"
#include "output/CardExport.h"
#include "platform/SaveFileCommit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace
{
TemplateResult failed(const QString &message, const QString &reason = {})
{
    return {OpResult::failed(message, reason), {}};
}

// "fail" is never the whole message: the reason follows it.
TemplateResult failedBecause(const QString &reason)
{
    return failed(TemplateStore::MsgFail + QStringLiteral("\n\n") + reason, reason);
}

QString systemReason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

TemplateResult done(const QString &path, const QString &message = {})
{
    return {OpResult::done(message), path};
}

// Replaces target with source in one step, an existing target included; *why tells the system's
// reason of a failure.
bool moveOver(const QString &source, const QString &target, QString *why = nullptr)
{
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    if (why)
        *why = QFileInfo(target).fileName() + QStringLiteral(": ") + systemReason(errno);
    return false;
}

// A copy written whole or not at all. It is written under a short hidden name beside the target
// and renamed into place, so a name as long as the folder allows can still be copied to.
bool copyFile(const QString &source, const QString &target, QString *why)
{
    const auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        return fail(QFileInfo(source).fileName() + QStringLiteral(": ") + in.errorString());
    QTemporaryFile out(QFileInfo(target).dir().filePath(QStringLiteral(".copy-XXXXXX")));
    if (!out.open())
        return fail(out.errorString());
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return fail(in.errorString());
        errno = 0;
        if (out.write(chunk) != chunk.size() || !out.flush())
            return fail(errno != 0 ? systemReason(errno) : out.errorString());
    }
    if (::fsync(out.handle()) != 0)
        return fail(systemReason(errno));
    // A temporary file is private to its owner; the copy is an ordinary file like its source.
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                       QFileDevice::ReadOther);
    if (!moveOver(out.fileName(), target, why))
        return false;
    out.setAutoRemove(false);
    return true;
}

// Template names are checked as series names are: a reserved character is named, never silently
// dropped; "" when the typed name can name a template.
QString nameProblem(const QString &typed)
{
    return SeriesName::problem(typed, QStringLiteral("a template"), TemplateStore::MsgEnterName);
}

QString withSuffix(const QString &path, const QString &suffix)
{
    const QFileInfo fi(path);
    return fi.dir().filePath(fi.completeBaseName() + QLatin1Char('.') + suffix);
}
} // namespace

const QString TemplateStore::MsgEnterName = QStringLiteral("Please enter template name.");
const QString TemplateStore::MsgReplace =
    QStringLiteral("Template with this name already exists, Do you want to replace the existing template?");
const QString TemplateStore::MsgExists = QStringLiteral("Template with this name already exists.");
const QString TemplateStore::MsgExported = QStringLiteral("Template exported successfully.");
const QString TemplateStore::MsgSelect = QStringLiteral("Please select template.");
const QString TemplateStore::MsgConfirmDelete = QStringLiteral("Do you want to delete this template?");
const QString TemplateStore::MsgConfirmCopy = QStringLiteral("Do you want to make copy of this template?");
const QString TemplateStore::MsgFail = QStringLiteral("fail");
const QString TemplateStore::MsgNameTooLong =
    QStringLiteral("Template name is too long. Please enter a shorter name.");

bool TemplateStore::isNameTooLong(const QString &name)
{
    // Every file of a pair must fit the file system's limit on one name, the longest suffix too.
    const qsizetype longestSuffix = 1 + std::max<qsizetype>(EditorState::design_file_EXT().size(), 3);
    return QFile::encodeName(name).size() + longestSuffix > MaxFileNameBytes;
}

QString TemplateStore::userFolderOf(const QString &resourcePath)
{
    return QDir(resourcePath).filePath(QStringLiteral("Templates/User"));
}

bool TemplateStore::isUsableName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.startsWith(QLatin1Char('.'));
}

TemplateResult TemplateStore::OKPressed(const QString &typed, const QString &passed, const Question &ask,
                                        QString *name) const
{
    if (const QString problem = nameProblem(typed); !problem.isEmpty())
        return failed(problem);
    const QString clean = SeriesName::fileStem(typed);
    if (isNameTooLong(clean))
        return failed(MsgNameTooLong);
    // A new template, or a rename onto another template's name, replaces that template only when
    // the user says so.
    const QString current = Trim_Str(passed);
    if (clean != current && exists(clean) && !(ask && ask(MsgReplace)))
        return {OpResult::cancelledByUser(), {}};
    if (name)
        *name = clean;
    return {};
}

QString TemplateStore::designPath(const QString &name) const
{
    return QDir(m_folder).filePath(name + QLatin1Char('.') + EditorState::design_file_EXT());
}

QString TemplateStore::previewPath(const QString &name) const
{
    return QDir(m_folder).filePath(name + QStringLiteral(".png"));
}

bool TemplateStore::exists(const QString &name) const
{
    return isUsableName(name) && QFileInfo::exists(designPath(name));
}

TemplateResult TemplateStore::writePair(const QString &name, const plist::Array &items,
                                        const PreviewWriter &writePreview) const
{
    if (!isUsableName(name))
        return failed(MsgEnterName);
    if (isNameTooLong(name))
        return failed(MsgNameTooLong);
    if (!QDir().mkpath(m_folder))
        return failedBecause(QStringLiteral("The folder %1 cannot be made.").arg(m_folder));
    // A hidden scratch folder beside the pair: the browser lists no folders, and moving from it
    // into place stays on the same file system.
    QTemporaryDir scratch(QDir(m_folder).filePath(QStringLiteral(".template-XXXXXX")));
    if (!scratch.isValid())
        return failedBecause(scratch.errorString());
    const QString newDesign = scratch.filePath(QStringLiteral("design.dcard"));
    const QString newPreview = scratch.filePath(QStringLiteral("preview.png"));
    QString error;
    if (!DesignFile::writeItems(newDesign, items, &error) || !writePreview ||
        !writePreview(newPreview, &error) || !QFileInfo(newPreview).isFile())
        return failedBecause(error.isEmpty() ? QStringLiteral("The preview was not written.") : error);
    // The design goes in first, then the preview. A design it replaces is kept aside (a second
    // name of the same file) until the preview is in, so a failed second step puts the old pair
    // back, or leaves nothing of a new one behind.
    const QString design = designPath(name);
    const QString oldDesign = scratch.filePath(QStringLiteral("old.dcard"));
    const bool hadDesign = QFileInfo::exists(design);
    if (hadDesign &&
        ::link(QFile::encodeName(design).constData(), QFile::encodeName(oldDesign).constData()) != 0)
        return failedBecause(QFileInfo(design).fileName() + QStringLiteral(": ") + systemReason(errno));
    if (!moveOver(newDesign, design, &error))
        return failedBecause(error);
    if (!moveOver(newPreview, previewPath(name), &error)) {
        if (hadDesign)
            moveOver(oldDesign, design);
        else
            QFile::remove(design);
        return failedBecause(error);
    }
    return done(design, MsgExported);
}

TemplateResult TemplateStore::exportTemplate(const QString &name, const plist::Array &items,
                                             std::shared_ptr<const RunPlan> plan) const
{
    return writePair(name, items, [&](const QString &path, QString *error) {
        ExportOptions options;
        options.side = ExportSide::Both;
        options.combined = true;
        const ExportResult r = CardExport::Export_Single_File(plan, path, options);
        // A preview without a picture whose file is gone still shows the template.
        if (!r.allWritten() && error)
            *error = r.message();
        return r.allWritten();
    });
}

QStringList TemplateStore::templatePictures() const
{
    QStringList pictures;
    QDir dir(m_folder);
    QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    std::sort(entries.begin(), entries.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const int c = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName() < b.fileName();
    });
    for (const QFileInfo &fi : entries) {
        const QString ext = fi.suffix().toLower();
        if (ext == QLatin1String("png") || ext == QLatin1String("jpg"))
            pictures << dir.filePath(fi.fileName());
    }
    return pictures;
}

QString TemplateStore::designPathForPicture(const QString &picture)
{
    return withSuffix(picture, EditorState::design_file_EXT());
}

QString TemplateStore::Create_New_File_Path(const QString &path, const QString &companionExt)
{
    const QFileInfo fi(path);
    const QDir dir = fi.dir();
    const QString base = fi.completeBaseName();
    const QString ext = fi.suffix();
    QString candidate;
    // Only the last component changes: a folder whose name holds the file's name stays as it is.
    for (int n = 1; n <= 100000; ++n) {
        candidate = dir.filePath(QStringLiteral("%1 (copy %2).%3").arg(base).arg(n).arg(ext));
        if (QFileInfo::exists(candidate))
            continue;
        if (!companionExt.isEmpty() && QFileInfo::exists(withSuffix(candidate, companionExt)))
            continue;
        return candidate;
    }
    return candidate;
}

bool TemplateStore::holds(const QString &picture) const
{
    const QFileInfo fi(picture);
    return !picture.isEmpty() && fi.isFile() &&
           QFileInfo(fi.absolutePath()).canonicalFilePath() == QFileInfo(m_folder).canonicalFilePath();
}

TemplateResult TemplateStore::copyTemplate(const QString &picture) const
{
    if (!holds(picture))
        return failed(MsgSelect);
    const QString newPicture = Create_New_File_Path(picture, EditorState::design_file_EXT());
    const QString newDesign = designPathForPicture(newPicture);
    QString why;
    if (QFileInfo::exists(newPicture))
        return failedBecause(QFileInfo(newPicture).fileName() + QStringLiteral(": the name is taken"));
    const bool pictureCopied = copyFile(picture, newPicture, &why);
    if (!pictureCopied || !copyFile(designPathForPicture(picture), newDesign, &why)) {
        if (pictureCopied)
            QFile::remove(newPicture);
        return failedBecause(why);
    }
    return done(newDesign);
}

TemplateResult TemplateStore::renameTemplate(const QString &picture, const QString &newName,
                                             bool replace) const
{
    if (!holds(picture))
        return failed(MsgSelect);
    if (const QString problem = nameProblem(newName); !problem.isEmpty())
        return failed(problem);
    const QString name = SeriesName::fileStem(newName);
    if (isNameTooLong(name))
        return failed(MsgNameTooLong);
    const QString newPicture = QDir(m_folder).filePath(name + QLatin1Char('.') + QFileInfo(picture).suffix());
    const QString newDesign = designPath(name);
    const QString oldDesign = designPathForPicture(picture);
    if (newPicture == picture)
        return done(oldDesign);
    const bool replacing = QFileInfo::exists(newDesign);
    if (replacing && !replace)
        return failed(MsgExists);
    // The old pair goes only once both copies exist. A new pair is taken back on failure; a
    // replaced one gets its design first, so that a failure there leaves it whole.
    QString why;
    if (replacing) {
        if (!copyFile(oldDesign, newDesign, &why) || !copyFile(picture, newPicture, &why))
            return failedBecause(why);
    } else {
        const bool pictureCopied = copyFile(picture, newPicture, &why);
        if (!pictureCopied || !copyFile(oldDesign, newDesign, &why)) {
            if (pictureCopied)
                QFile::remove(newPicture);
            return failedBecause(why);
        }
    }
    Delete_File(picture);
    Delete_File(oldDesign);
    return done(newDesign);
}

TemplateResult TemplateStore::deleteTemplate(const QString &picture) const
{
    if (!holds(picture))
        return failed(MsgSelect);
    const QString design = designPathForPicture(picture);
    const bool pictureGone = Delete_File(picture);
    const bool designGone = !QFileInfo::exists(design) || Delete_File(design);
    return pictureGone && designGone ? TemplateResult{}
                                     : failedBecause(QFileInfo(pictureGone ? design : picture).fileName() +
                                                     QStringLiteral(": it could not be removed"));
}

QStringList TemplateStore::greetingTexts(const QString &path)
{
    // One reader for the greeting files, so the picker, the wizard and the store split alike.
    return GreetingTexts::readLines(path);
}
