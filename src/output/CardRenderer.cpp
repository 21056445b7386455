#include "output/CardRenderer.h"

bool ExportOptions::parseSide(const QString &code, ExportSide *side)
{
    if (code == QLatin1String("BOTH"))
        *side = ExportSide::Both;
    else if (code == QLatin1String("F"))
        *side = ExportSide::Front;
    else if (code == QLatin1String("B"))
        *side = ExportSide::Back;
    else
        return false;
    return true;
}
