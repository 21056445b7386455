// Reads an XLSX workbook straight from its zip: the sheets the workbook names, its shared strings,
// and the rows of one worksheet, scanned as a stream and kept compactly.
#pragma once

#include "XlsxCellFormats.h"
#include "XlsxTable.h"
#include "ZipReader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

struct XlsxRows {
    bool ok = false;
    QString message; // set when ok is false
    XlsxTable rows;  // row k is the sheet's row k + 1; every row `columns` wide
    int columns = 0;
};

class XlsxReader
{
public:
    static QString corruptMessage();
    static QString tooLargeMessage();
    // The corrupt message with the reason in the program's own words.
    static QString encryptedMessage();
    static QString oldFormatMessage();
    static QString notAFileMessage();

    // Most cells one read keeps; a sheet needing more is refused instead of exhausting memory.
    static constexpr qint64 CellBudget = 20'000'000;
    // Most bytes of a sheet's own texts (UTF-8) one read keeps; shared strings are counted apart.
    static constexpr size_t TextBudget = size_t(256) << 20;
    // Rows a worksheet can have.
    static constexpr qsizetype MaxRows = 1048576;

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
    const XlsxStringPool &sharedStrings() const { return *m_shared; }

    // All rows of the sheet up to the last one holding a value or a formula, with the cells whose
    // formula was never computed; or only its first row (titleRow: empty slots are named
    // "Untitled Column %d"), which is empty when the first row element is not the sheet's row 1.
    XlsxRows readSheet(int sheetNumber, bool titleRow = false);

private:
    struct Sheet {
        QString name;
        QString part;
    };
    struct Relationship {
        QString id, type, target;
    };
    enum class PartState { Read, Missing, Bad };

    static QString refusalOf(const QString &path);
    bool entriesSound(QString *message);
    PartState readRelationships(const QString &part, QList<Relationship> *rels);
    bool readWorkbook(const QString &part);
    bool readSharedStrings(const QString &part);
    bool readStyles(const QString &part, bool date1904);

    ZipReader m_zip;
    bool m_open = false;
    QString m_path;
    QList<Sheet> m_sheets;
    bool m_recalculatedOnLoad = false; // the workbook's stored formula results are not to be trusted
    std::shared_ptr<XlsxStringPool> m_shared;
    std::shared_ptr<const XlsxCellFormats> m_formats; // null: no styles, numbers as stored
};
