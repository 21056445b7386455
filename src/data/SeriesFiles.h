// The series files of the "DataSet" folder: naming, listing, reading, writing, replacing,
// deleting and exporting. Questions and the in-use test come from the caller; messages go back.
#pragma once

#include "platform/OpResult.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Done (with a message for the user or none), failed with the message to show, or cancelled when
// the user answered No: nothing changed, nothing to show.
struct SeriesResult : OpResult {
};

using SeriesInUseTest = std::function<bool(const QString &seriesName)>;
using SeriesQuestion = std::function<bool(const QString &question)>; // true for Yes
// Hands the values of a new series to write, in order; write answers false when the file failed.
// The producer answers false when it stopped, for that reason or its own.
using SeriesValueWriter = std::function<bool(const QString &value)>;
using SeriesValueProducer = std::function<bool(const SeriesValueWriter &write)>;

class SeriesFiles
{
public:
    static const QString batch_file_EXT; // "txt"

    static const QString MsgListEmpty;     // "List is empty."
    static const QString MsgFileAccess;    // "Error in file accessing."
    static const QString MsgAlreadyExists; // replace question
    static const QString MsgCantUpdateInUse;
    static const QString MsgCantDeleteInUse;
    static const QString MsgConfirmDelete;
    static const QString MsgSelectRecord;
    static const QString MsgAvailableListEmpty;
    static const QString MsgExported; // "Record has been exported successfully."

    // MsgFileAccess, then the file that could not be written and why ("No space left on device").
    static QString fileAccessMessage(const QString &path, const QString &reason);

    // A value of a series is one line: every line break inside it becomes a blank.
    static QString oneLine(const QString &value);

    // "" when a typed name can name a series file, else the message for the user (SeriesName).
    static QString checkName(const QString &name);
    // Folder / name . txt: the name as the list shows it, trimmed.
    static QString filePath(const QString &folder, const QString &name);
    // The same, or "" for a name that cannot name a series file (one read from a design file
    // could otherwise lead out of the folder).
    static QString safePath(const QString &folder, const QString &name);

    // Series names: every file of the folder without its extension, sorted.
    static QStringList Get_datasheet_File_Name_Array(const QString &folder);

    // Series files are read whole and written in one go: one limit for both, so that every series
    // written can be read again.
    static constexpr qint64 MaxFileSize = qint64(512) << 20;
    static QString tooLargeMessage(const QString &name);

    // Both readings decode UTF-8 alike: bytes that are not UTF-8 become U+FFFD and *warning says so.
    // The manager's and viewer's reading: trimmed lines, empty ones left out. Null when the
    // file cannot be read (message set: too large, or MsgFileAccess).
    static std::optional<QStringList> readValues(const QString &folder, const QString &name,
                                                 QString *message = nullptr, QString *warning = nullptr);
    // The batch filling's reading: the whole text trimmed, then every line, empty ones included.
    // Null when there is no such file, or (with *problem set) when the file cannot be read; an
    // empty file has no rows.
    static std::optional<QStringList> readRows(const QString &folder, const QString &name,
                                               QString *problem = nullptr, QString *warning = nullptr);
    // The first line exactly as stored, or "".
    static QString Get_First_Value_Of_Dataset(const QString &folder, const QString &name);

    // Writes a series file atomically: each value on one line; trimValues leaves out values that
    // are empty after trimming (the manager), otherwise values are written as given (generator).
    static SeriesResult writeSeries(const QString &folder, const QString &name, const QStringList &values,
                                    bool trimValues);
    // A new series from the generator or an importer: refuses a bad name, refuses to replace a
    // series inUse says is in use (MsgCantUpdateInUse, as an update is), asks before replacing.
    static SeriesResult writeNew(const QString &folder, const QString &name, const QStringList &values,
                                 const SeriesQuestion &ask, bool trimValues = false,
                                 const SeriesInUseTest &inUse = {});
    // The same with the values streamed from produce (the generator's long series): nothing is
    // held in memory, and a stopped producer leaves any old file as it was.
    static SeriesResult writeNew(const QString &folder, const QString &name,
                                 const SeriesValueProducer &produce, const SeriesQuestion &ask,
                                 bool trimValues = false, const SeriesInUseTest &inUse = {});

    // Adds the values as lines after the series' old content (a missing series starts empty);
    // the old file stays as it was until the longer one is written.
    static SeriesResult appendSeries(const QString &folder, const QString &name, const QStringList &values);

    // The manager's Save of the values under newName; oldName is the series being edited ("" for
    // a new one). A renamed series loses its old file only after the new one is written.
    static SeriesResult Save(const QString &folder, const QString &newName, const QString &oldName,
                             const QStringList &values, const SeriesInUseTest &inUse,
                             const SeriesQuestion &ask);

    // The manager's Delete of the selected series (in list order); current is the current row.
    // applyAll passes over series in use silently. deleted receives the series whose file went.
    static SeriesResult Delete(const QString &folder, const QStringList &selected, const QString &current,
                               const SeriesInUseTest &inUse, const SeriesQuestion &ask, bool applyAll,
                               QStringList *deleted);

    // The path with its extension replaced by "xlsx" or "txt".
    static QString exportPath(const QString &path, bool asXlsx);
    // "" when that many values can be exported in that format, else the message for the user.
    static QString exportProblem(qsizetype valueCount, bool asXlsx);
    // XLSX: one column headed "Batch Value"; TXT: one value per line.
    static SeriesResult Export(const QStringList &values, const QString &path, bool asXlsx);
};
