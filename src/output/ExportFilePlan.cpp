#include "output/ExportFilePlan.h"

#include "output/ExportPaths.h"

ExportFilePlan::ExportFilePlan(const QString &frontPath, ExportSide side, bool combined)
{
    m_drawsBack = side != ExportSide::Front;
    m_drawsFront = side != ExportSide::Back;
    // A picture of both sides needs both; the back alone has nothing to combine with.
    const bool together = combined && side == ExportSide::Both;
    if (m_drawsBack && !together)
        m_files.append({ExportPaths::Create_Back_Card_Path(frontPath), Content::Back});
    if (m_drawsFront)
        m_files.append({frontPath, together ? Content::Combined : Content::Front});
}

QStringList ExportFilePlan::paths() const
{
    QStringList out;
    for (const File &file : m_files)
        out << file.path;
    return out;
}
