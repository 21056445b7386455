// Writes card images to files in the format their extension names, atomically.
// PNG goes through the program's own encoder (PngEncoder, deflated by ISA-L); JPEG, TIFF and BMP
// through Qt's writers.
#pragma once

#include "platform/Units.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

class ImageFileWriter
{
public:
    enum class Format { Unsupported, Png, Jpeg, Tiff, Bmp };

    struct Encoded {
        QByteArray bytes; // empty on failure
        QString error;
        bool ok() const { return !bytes.isEmpty(); }
    };

    struct WriteResult {
        bool ok = false;
        QString error;        // for the user: names the path and the reason
        bool noSpace = false; // the disk (or the user's quota) is full
    };

    // The format an extension names (case does not matter, a leading dot is allowed).
    static Format formatForExtension(const QString &extension);
    // Empty when files of that extension can be written; otherwise the message to show.
    // Checked before a run starts, so that no run fails on every card for this reason.
    static QString checkExtension(const QString &extension);

    // Image bytes in the format; dpi > 0 is recorded in the file. Opaque formats (JPEG, BMP) get
    // transparent parts on white.
    static Encoded encode(const QImage &image, Format format, double dpi);

    // Writes the bytes into a file that takes the target's name only once it is complete and on
    // the disk, so an old file of that name stays whole until then and a crash leaves the new file
    // whole or absent.
    static WriteResult writeAtomically(const QString &path, const QByteArray &bytes);
    // The same through a named temporary file renamed over the target: the road taken on file
    // systems that cannot make unnamed files.
    static WriteResult writeThroughNamedFile(const QString &path, const QByteArray &bytes);

    // Several files written as writeAtomically writes one, with one wait for the disk for all: each
    // file's bytes are written unnamed and sent towards the disk when it is added; finish() then
    // syncs and names one. A sync after each file waits for a journal commit of its own, where the
    // files of a group already on their way share the commits.
    class WriteGroup
    {
    public:
        WriteGroup();
        WriteGroup(const WriteGroup &) = delete;
        WriteGroup &operator=(const WriteGroup &) = delete;
        // Files added and not finished are dropped: nothing is left under any name.
        ~WriteGroup();
        // Begins writing the bytes for the path; the index is finish()'s.
        size_t add(const QString &path, const QByteArray &bytes);
        // Once: syncs the file and gives it its name, replacing a file of that name.
        WriteResult finish(size_t index);

    private:
        struct Pending;
        size_t begin(const QString &path, const QByteArray &bytes, bool unnamed);
        std::vector<Pending> m_files;
        friend class ImageFileWriter;
    };

    // Encodes by the path's extension and writes atomically.
    static WriteResult Save_gen_image(const QImage &image, const QString &file_path_val,
                                      double dpi = Units::PointsPerInch);
};
