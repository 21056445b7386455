// Turns an outside list (a TXT, CSV or RTF file, or a folder of pictures) into series values by
// the import wizard's rules, without writing anything; the wizard and cardtool share it.
#pragma once

#include "data/ListValues.h"
#include "platform/OpResult.h"

#include <QString>
#include <QStringList>
// What an import read: the values, or why it could not (a message for the user).
struct ListImportResult : OpResult {
    ListValues values;
    QString note; // what was left out of the file while reading it, for the user
};

class ListImport
{
public:
    enum class Kind { Txt, Csv, Rtf };

    static const QString MsgInvalidFile; // "Please select a valid file."
    static const QString MsgCorrupted;   // "Either file is corrupted or selected file contains ..."
    static const QString MsgEnterData;   // "Please enter some data."
    static const QStringList pictureExtensions;

    // List files are read whole, so they have a size limit; a value is at most as long as a
    // workbook cell may be, so one line cannot take the memory of the whole file several times.
    static constexpr qint64 MaxFileSize = qint64(64) << 20;
    static constexpr qsizetype MaxValueLength = 32767;
    static QString tooLargeMessage();
    static QString valueTooLongMessage();

    // The kind a file's extension gives: "rtf" and "csv" in any case, anything else text.
    static Kind kindOf(const QString &path);

    // One value as the wizard cleans it: every backslash and brace removed, then trimmed.
    static QString clean(QStringView value);

    // Text rules: a value per line, cleaned, empty ones left out; the first line that holds
    // "NSFont = " ends the list. A value longer than MaxValueLength ends the reading with
    // *problem set to valueTooLongMessage().
    static ListValues fromText(QStringView text, QString *problem = nullptr);
    // CSV rules: rows end at CRLF, CR or LF and fields at the separator, both outside quotes (RFC
    // 4180). The separator is the one of comma, semicolon and tab that splits each of the first 20
    // rows (blank ones left out) into the same number of fields, more than one; of several, the
    // one giving more fields, on a tie tab before semicolon before comma. When none does, each row
    // is one field. A field whose first character after any blanks is a double quote runs to the
    // matching closing one, keeping separators and line breaks, and a doubled quote inside it is
    // one quote; text after the closing quote is kept as written. Each field is cleaned; one
    // holding "NSFont = " ends its row. With column N (from 1) only the Nth field of each row is
    // taken. Long values as for text.
    static ListValues fromCsv(QStringView text, int column = 0, QString *problem = nullptr);
    // RTF: every paragraph (and line break) of the document's text is a value, cleaned as text
    // lines are, empty ones left out, whatever the formatting of its characters.
    static ListValues fromRtf(const QByteArray &bytes, bool *parsed = nullptr, QString *problem = nullptr);

    // Pasted text, trimmed as a whole and split into lines (which may end in CRLF or CR). For a
    // new series the lines are kept as they stand, blanks included; for the manager's value list
    // each is trimmed. Empty lines are left out either way. Nothing for blank text: the wizard
    // then says MsgEnterData.
    static QStringList fromPaste(const QString &text, bool newSeries);

    // Reads a file and applies the rules of its kind, with the wizard's messages on failure. Only a
    // regular file (or a link to one) of at most MaxFileSize bytes is read: a pipe, a device or a
    // larger file is refused before any of it is read.
    // A TXT or CSV file's text is read by ListEncoding: in the character set its bytes show, or in
    // charset when one is given (the user's choice). What was left out of the file (an end-of-file
    // byte, NUL padding), or that the character set is a guess, is told in the result's note.
    static ListImportResult readFile(const QString &path, Kind kind, int column = 0,
                                     const QByteArray &charset = {});
    static ListImportResult readFile(const QString &path) { return readFile(path, kindOf(path)); }
    // The two halves of readFile, for a window that asks about the character set between them: the
    // file's bytes (refused as readFile refuses them), and the values of those bytes.
    static ListImportResult readBytes(const QString &path, QByteArray *bytes);
    static ListImportResult fromBytes(QByteArray bytes, const QString &path, Kind kind, int column = 0,
                                      const QByteArray &charset = {});

    // The full paths of the pictures directly inside a folder (the nine picture extensions in any
    // case, files only), sorted by name; none for a folder that cannot be listed.
    static QStringList pictureFiles(const QString &folder);
};
