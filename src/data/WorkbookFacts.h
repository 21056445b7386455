// What the program knows of the workbook the binding table's rows were read from: the file as it
// was then (size, modification time, SHA-256 of its bytes), when that was, and where the rows stood.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class WorkbookFacts
{
public:
    // A file's size and modification time: compared before any byte is read.
    struct Stamp {
        qint64 size = -1;
        qint64 modifiedMs = -1;
        bool exists() const { return size >= 0; }
        bool operator==(const Stamp &) const = default;
    };
    enum class Change { NothingToCompare, Same, Changed };

    qint64 size = -1;
    qint64 modifiedMs = -1; // milliseconds since the epoch
    QByteArray sha256;      // lower-case hex
    QDateTime loadedAt;     // UTC
    QString sheet;          // the sheet's name
    int firstRow = 1;       // 1 when the sheet's first row held only the titles
    QList<int> columns;     // the sheet column (from 0) of each table column, in table order

    // Not saved: a later stamp of the same file found to hold the same bytes, or that the user
    // chose to go on without loading again, so neither is asked about twice.
    Stamp settled;
    // Not saved: the user chose the rows as loaded while the file was gone; asked again only once
    // the file has been back and is gone again.
    bool goneSettled = false;

    bool isKnown() const { return size >= 0 && !sha256.isEmpty(); }
    Stamp stamp() const { return {size, modifiedMs}; }

    static Stamp stampOf(const QString &path);
    // The SHA-256 of a regular file's bytes in hex; empty when it cannot be read.
    static QByteArray hashOf(const QString &path);
    // The file as it is now, loaded now. Taken before its rows are read: a change while they
    // are read is then noticed later rather than missed.
    static WorkbookFacts take(const QString &path);

    // Whether telling the file at path apart from these facts means reading all its bytes (same
    // size, other time); callers then show that they are busy.
    bool needsHashing(const QString &path) const;
    // Whether the file at path holds other bytes than when the rows were read. Nothing to compare
    // without facts or without the file. Asking changes nothing: a caller that hashed and found
    // the same bytes settles that stamp itself.
    Change check(const QString &path) const;
    // The user goes on with the rows as loaded: this state of the file is not asked about again.
    void settle(const QString &path) { settled = stampOf(path); }

    // "on 8 December 2026 at 10:14": when the rows were loaded, local time, the program's locale.
    QString loadedText() const;
};
