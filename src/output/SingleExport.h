// Writes the current design once: the front, the back (to the "_Back" file), both, or both
// combined into one picture, to a path the user chose.
#pragma once

#include "output/CardRenderer.h"
#include "output/ExportResult.h"

class SingleExport
{
public:
    // Renders row 0 of the renderer (the design as it stands) and writes the side setting's files.
    // The extension of `path` decides the format; an unsupported one is refused before drawing.
    static ExportResult Export_Single_File(const QString &path, const ExportOptions &options,
                                           CardRenderer &renderer);
};
