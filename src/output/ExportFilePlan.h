// Which files the export of one card writes and what each holds: the back before the front, both
// sides in one picture or apart, the back's file named next to the front's. Single and batch export share it.
#pragma once

#include "output/CardRenderer.h"

#include <QList>
#include <QString>
#include <QStringList>

class ExportFilePlan
{
public:
    enum class Content { Front, Back, Combined };
    struct File {
        QString path;
        Content content;
    };

    // frontPath names the front's file (or the combined picture's); the back's is made from it.
    ExportFilePlan(const QString &frontPath, ExportSide side, bool combined);

    bool drawsBack() const { return m_drawsBack; }
    bool drawsFront() const { return m_drawsFront; }
    // In writing order: the back's file before the front's.
    const QList<File> &files() const { return m_files; }
    QStringList paths() const;
    // The file an export of one card reports: the back's when only the back is written.
    QString mainPath() const { return m_files.isEmpty() ? QString() : m_files.last().path; }

private:
    bool m_drawsBack = false;
    bool m_drawsFront = false;
    QList<File> m_files;
};
