// Turns an outside list (a TXT, CSV or RTF file, or a folder of pictures) into series values by
// the import wizard's rules, without writing anything; the wizard and cardtool share it.
#pragma once

#include "platform/OpResult.h"

#include <QString>
#include <QStringList>

// What an import read: the values, or why it could not (a message for the user).
struct ListImportResult : OpResult {
    QStringList values;
};

class ListImport
{
public:
    enum class Kind { Txt, Csv, Rtf };

    static const QString MsgInvalidFile; // "Please select a valid file."
    static const QString MsgCorrupted;   // "Either file is corrupted or selected file contains ..."
    static const QString MsgEnterData;   // "Please enter some data."
    static const QStringList pictureExtensions;

    // The kind a file's extension gives: "rtf" and "csv" in any case, anything else text.
    static Kind kindOf(const QString &path);

    // One value as the wizard cleans it: every backslash and brace removed, then trimmed.
    static QString clean(const QString &value);

    // Text rules: a value per line, cleaned, empty ones left out; the first line that holds
    // "NSFont = " ends the list.
    static QStringList fromText(const QString &text);
    // CSV rules: rows end at CRLF, CR or LF; fields at every comma (no quoting); a row without a
    // comma is one field. Each field is cleaned; one holding "NSFont = " ends its row. With
    // column N (from 1) only the Nth field of each row is taken.
    static QStringList fromCsv(const QString &text, int column = 0);
    // RTF: the lines of the document's first run of like formatting, by the text rules.
    static QStringList fromRtf(const QByteArray &bytes, bool *parsed = nullptr);

    // Pasted text, trimmed as a whole and split into lines (which may end in CRLF or CR). For a
    // new series the lines are kept as they stand, blanks included; for the manager's value list
    // each is trimmed. Empty lines are left out either way. Nothing for blank text: the wizard
    // then says MsgEnterData.
    static QStringList fromPaste(const QString &text, bool newSeries);

    // The text of a TXT or CSV file: UTF-8, UTF-16 or UTF-32 by their byte-order mark, UTF-8
    // when it is valid, Windows-1252 otherwise.
    static QString decodeText(const QByteArray &bytes);

    // Reads a file and applies the rules of its kind, with the wizard's messages on failure.
    static ListImportResult readFile(const QString &path, Kind kind, int column = 0);
    static ListImportResult readFile(const QString &path) { return readFile(path, kindOf(path)); }

    // The full paths of the pictures directly inside a folder (the nine picture extensions in any
    // case, files only), sorted by name; none for a folder that cannot be listed.
    static QStringList pictureFiles(const QString &folder);
};
