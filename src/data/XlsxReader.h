// Reads an XLSX workbook straight from its zip: the sheets the workbook names, its shared strings,
// and the rows of one worksheet, parsed as a stream so that large sheets need little memory.
#pragma once

#include "ZipReader.h"

#include <QList>
#include <QString>
#include <QStringList>

struct XlsxRows {
    bool ok = false;
    QString message;         // set when ok is false
    QList<QStringList> rows; // one per row element, every row `columns` wide
    int columns = 0;
};

class XlsxReader
{
public:
    static QString corruptMessage();
    static QString tooLargeMessage();
    // Most cells one read keeps; a sheet needing more is refused instead of exhausting memory.
    static constexpr qint64 CellBudget = 20'000'000;

    XlsxReader();
    ~XlsxReader();

    // Opens a workbook; false, with the message for the user, when it is not a readable workbook.
    bool open(const QString &path, QString *message = nullptr);
    void close();
    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }

    // Sheet titles in workbook order; sheets are counted from 1 in this order.
    QStringList sheetNames() const;
    int sheetCount() const { return int(m_sheets.size()); }
    const QStringList &sharedStrings() const { return m_shared; }

    // All rows of the sheet, or only its first row element (titleRow: empty slots are named
    // "Untitled Column %d").
    XlsxRows readSheet(int sheetNumber, bool titleRow = false);

private:
    struct Sheet {
        QString name;
        QString part;
    };
    bool readRelationships(const QString &part, QList<QStringList> *rels);
    bool readWorkbook(const QString &part);
    bool readSharedStrings(const QString &part);

    ZipReader m_zip;
    bool m_open = false;
    QString m_path;
    QList<Sheet> m_sheets;
    QStringList m_shared;
};
