// The user's own design templates: pairs of a design file and a preview picture of the same name
// in the "User" folder, with their name checks, writing, copying, renaming and deleting.
#pragma once

#include "platform/OpResult.h"
#include "platform/PlistValue.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class BatchFillSnapshot;

// The outcome of a template operation, with the template's design file when one was written.
struct TemplateResult : OpResult {
    QString path;
};

class TemplateStore
{
public:
    explicit TemplateStore(const QString &folder) : m_folder(folder) {}
    // Resource_Path / "Templates" / "User".
    static QString userFolderOf(const QString &resourcePath);
    const QString &folder() const { return m_folder; }

    static const QString MsgEnterName;     // "Please enter template name."
    static const QString MsgReplace;       // the replace question of a new template
    static const QString MsgExists;        // "Template with this name already exists."
    static const QString MsgExported;      // "Template exported successfully."
    static const QString MsgSelect;        // "Please select template."
    static const QString MsgConfirmDelete; // "Do you want to delete this template?"
    static const QString MsgConfirmCopy;   // "Do you want to make copy of this template?"
    static const QString MsgFail;          // "fail"; a failure's message gives its reason after it
    static const QString MsgNameTooLong;   // a name the file system cannot hold
    // The file system's limit on one file name, in bytes.
    static constexpr qsizetype MaxFileNameBytes = 255;

    // Whether a cleaned name can name a pair inside the folder: not empty, no "/" or "\",
    // not "." or "..", not starting with ".".
    static bool isUsableName(const QString &name);
    // Whether a pair's file names would pass the file system's limit: the name's bytes with its
    // longest suffix (".dcard") over MaxFileNameBytes.
    static bool isNameTooLong(const QString &name);

    // The name dialog's OK. passed is the current name of a template being renamed ("" for a new
    // one). A typed name is checked as a series name is (SeriesName): empty, a reserved character
    // at either end, "/" or "\" inside or a leading "." is refused with a message naming it. Done
    // with *name set to the trimmed name; Failed with the message to show; Cancelled when the user
    // declined to replace another existing template.
    using Question = std::function<bool(const QString &question)>; // true for Yes
    TemplateResult OKPressed(const QString &typed, const QString &passed, const Question &ask,
                             QString *name) const;

    QString designPath(const QString &name) const;
    QString previewPath(const QString &name) const;
    bool exists(const QString &name) const; // only the design file counts

    // Writes the pair for `name`: the design file's items and the preview made by writePreview
    // into the path it is given. Both are written to the side first; then the design is moved in,
    // then the preview. A failure at any step leaves any old pair as it was and nothing of a new
    // one behind.
    using PreviewWriter = std::function<bool(const QString &path, QString *error)>;
    TemplateResult writePair(const QString &name, const plist::Array &items,
                             const PreviewWriter &writePreview) const;
    // The same with the preview of both sides combined, drawn by the single export.
    TemplateResult exportTemplate(const QString &name, const plist::Array &items,
                                  std::shared_ptr<const BatchFillSnapshot> snapshot) const;

    // The preview pictures of the folder ("png" and "jpg" in lower case), sorted by name.
    QStringList templatePictures() const;
    // The design file that belongs to a preview picture.
    static QString designPathForPicture(const QString &picture);
    // "<name> (copy n).<ext>" beside path for the first n from 1 that names no file (and, with a
    // companion extension, whose companion of that extension does not exist either).
    static QString Create_New_File_Path(const QString &path, const QString &companionExt = QString());

    TemplateResult copyTemplate(const QString &picture) const;
    // Copies the pair to the new name, then removes the old pair only when both copies exist. A
    // template already under the new name is replaced only with `replace` (the user agreed).
    TemplateResult renameTemplate(const QString &picture, const QString &newName, bool replace = false) const;
    TemplateResult deleteTemplate(const QString &picture) const;

    // The entries of a greeting text file ("Title.txt", "Message.txt"), read as the greeting
    // windows read them (GreetingTexts::readLines). None for a missing file.
    static QStringList greetingTexts(const QString &path);

private:
    // Whether picture is an existing file directly inside the folder.
    bool holds(const QString &picture) const;
    QString m_folder;
};
