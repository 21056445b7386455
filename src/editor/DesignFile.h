// Saving and opening design files over the document's design (CardDesign: both sides' objects and
// pages, the binding table), read and written whole. Results travel back as values for the window
// to show.
#pragma once

#include "editor/DesignFileFormat.h"
#include "platform/OpResult.h"

#include <functional>
#include <optional>

class DesignEditor;
class QFile;
class QIODevice;
class QSaveFile;
class SKTDocument;

// Saving and opening a design answer in the shape every core operation uses.
using DesignResult = OpResult;

class DesignFile
{
public:
    explicit DesignFile(SKTDocument &document, DesignEditor *editor = nullptr);

    static inline const QString CorruptMessage = QStringLiteral("File is corrupt and cannot be opened.");
    // "Greeting Card Design Log "name.dcard" has been saved successfully."
    static QString savedMessage(const QString &path);
    // The title of the box that says a save failed.
    static inline const QString SaveTitle = QStringLiteral("Save");
    // The folder that could not be written, then why ("... No space left on device").
    static QString saveFailedMessage(const QString &path, const QString &reason);

    // The file at a path holds another save than the one this program opened or last saved there
    // (another program's, or another instance's): true replaces it.
    using ReplaceChanged = std::function<bool(const QString &path)>;
    // Save (save_as forces a new path). The file is replaced atomically: a failed write leaves the
    // old file. A file saved meanwhile by another program or instance is replaced only when
    // replaceChanged answers Yes, however close the two saves come: each save holds the design's
    // lock file while it checks and replaces the file (waiting for another instance's save), and
    // checks again there. No answer, or none asked for, is Cancelled and leaves the other's file.
    // With show_msg the result carries the message to show on success; a failure always carries
    // its message (to show under SaveTitle), also when the file turns out replaced right after.
    DesignResult Save_project_file(bool save_as, bool show_msg, const ReplaceChanged &replaceChanged = {});
    // ".name.dcard.lock" beside the design: held by a save while it checks and replaces the file.
    static QString saveLockPath(const QString &path);
    // Opens a design. Everything is read and checked first; a damaged file changes nothing and
    // gives the corrupt-file message. Mode "L" makes the file the current design file. A design
    // that opens with pictures or series whose files are gone is done, with a message naming them.
    DesignResult Read_and_load_design_Log(const QString &path, const QString &log_or_template);

    // What to tell a user about the pictures of a design that show nothing; "" when all show.
    static QString missingPicturesMessage(const GraphicList &front, const GraphicList &back);
    // The same for the series the design's objects read whose files are gone from dataFolder.
    static QString goneSeriesMessage(const CardDesign &design, const QString &dataFolder);

    // The model's share of a new design: empty sides, no undo, page settings reset, no file.
    // `start` shapes the new settings (a start window's size and picture) before they replace
    // the old ones, so the new design is written and announced once.
    void resetToNewDesign(const std::function<void(DesignSettings &)> &start = {});

    // Unsaved changes: the design differs from what it was when last saved, opened or made new.
    // It is compared as it would be written, so every edit counts, whoever made it (canvas,
    // inspector, dialogs), and an edit taken back by undo no longer does.
    bool isModified() const;
    // The design as it stands becomes the one without unsaved changes.
    void markClean();
    // Whether the design file was replaced or changed on disk (size or modification time) since
    // this program opened or last saved it. False when no file is known or it is gone.
    bool changedOnDisk() const;
    // The bytes of a design file: a regular file of a design's size at most.
    static bool readFileBytes(const QString &path, QByteArray *bytes, QString *reason);
    // The design in a file, read and checked, on any thread: nothing of the editor is touched. A
    // barcode saved without its picture gets the one its own settings make (OwnBarcodePicture).
    // False with a reason for the log when it is not a design that can be opened.
    static bool readDesign(const QString &path, CardDesign *out, QString *reason);
    // Writes the items of a design to path atomically.
    static bool writeItems(const QString &path, const plist::Array &items, QString *error);

private:
    // Opens a design file for reading: a regular file of a design's size at most.
    static bool openDesignFile(QFile &file, QString *reason);
    void apply(CardDesign read, const QString &path, const QString &mode);
    void runLongWork(const std::function<void()> &work);
    QByteArray fingerprint() const;
    QByteArray rowsDigest(const BindingRows &rows) const;
    // The size and modification time of the design file as this program last saw it.
    void rememberDiskState(const QString &path);
    struct FileId {
        qint64 size = -1;
        quint64 device = 0;
        quint64 inode = 0;
    };
    // Writes into the save file (write's false: a write failed) without replacing anything yet;
    // *id is the new file's. False with *error ("Could not save ...: reason.") when it could not be
    // written.
    static bool writeUncommitted(QSaveFile &file, const std::function<bool(QIODevice &)> &write, FileId *id,
                                 QString *error);
    static DesignResult saveFailed(const QString &path, const QString &reason);
    // The save replaced the file, but another program's file stands there right after.
    static QString replacedAtOnceMessage(const QString &path);

    struct DiskState {
        QString path;
        qint64 size = -1; // -1: no file there
        qint64 modifiedNs = -1;
        quint64 device = 0;
        quint64 inode = 0; // every save makes a new file: the same size and time still differ here
        bool operator==(const DiskState &) const = default;
        bool exists() const { return size >= 0; }
    };
    static DiskState diskStateOf(const QString &path);
    // The path a save writes to (the design's, or one chosen in the save panel); none when the
    // user cancelled the panel.
    std::optional<QString> pathToSave(bool save_as);
    // The design as saved, from a copy; the picture paths a page does not fill with are dropped
    // from the design too.
    CardDesign designToSave();
    struct Replacement;
    // After the write: asks about another's save met meanwhile and tries again; the result when
    // the file was not replaced.
    std::optional<DesignResult> settleReplacement(Replacement &run, const ReplaceChanged &replaceChanged);
    // The design file replaced: the design is clean, unless another program's file stands there.
    DesignResult saved(const Replacement &run, bool show_msg);
    QByteArray m_cleanFingerprint;
    struct RowsDigest {
        BindingRows rows; // shares the storage of the rows hashed
        QByteArray digest;
    };
    mutable RowsDigest m_rowsDigest;
    DiskState m_disk;

    SKTDocument &m_document;
    DesignEditor *m_editor;
};
