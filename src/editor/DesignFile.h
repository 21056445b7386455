// Saving and opening design files over the document's design (CardDesign: both sides' objects and
// pages, the binding table), read and written whole. Results travel back as values for the window
// to show.
#pragma once

#include "editor/DesignFileFormat.h"
#include "platform/OpResult.h"

#include <functional>

class DesignEditor;
class SKTDocument;

// Saving and opening a design answer in the shape every core operation uses.
using DesignResult = OpResult;

class DesignFile
{
public:
    explicit DesignFile(SKTDocument &document, DesignEditor *editor = nullptr);

    static inline const QString CorruptMessage = QStringLiteral("File is corrupt and cannot be opened.");
    static inline const QString SavedMessage =
        QStringLiteral("Greeting Card Design Log has been saved successfully.");
    // The title of the box that says a save failed.
    static inline const QString SaveTitle = QStringLiteral("Save");
    // The folder that could not be written, then why ("... No space left on device").
    static QString saveFailedMessage(const QString &path, const QString &reason);

    // Save (save_as forces a new path). The file is replaced atomically: a failed write leaves the
    // old file. With show_msg the result carries the message to show on success; a failure always
    // carries its message (to show under SaveTitle).
    DesignResult Save_project_file(bool save_as, bool show_msg);
    // Opens a design. Everything is read and checked first; a damaged file changes nothing and
    // gives the corrupt-file message. Mode "L" makes the file the current design file. A design
    // that opens with pictures whose files are gone is done, with a message naming them.
    DesignResult Read_and_load_design_Log(const QString &path, const QString &log_or_template);

    // What to tell a user about the pictures of a design that show nothing; "" when all show.
    static QString missingPicturesMessage(const GraphicList &front, const GraphicList &back);

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
    void apply(CardDesign read, const QString &path, const QString &mode);
    void runLongWork(const std::function<void()> &work);
    QByteArray fingerprint() const;
    QByteArray rowsDigest(const BindingRows &rows) const;
    // The size and modification time of the design file as this program last saw it.
    void rememberDiskState(const QString &path);

    struct DiskState {
        QString path;
        qint64 size = -1;
        qint64 modifiedMs = -1;
        bool operator==(const DiskState &) const = default;
    };
    static DiskState diskStateOf(const QString &path);
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
