// Fills the window registry's entries of the series windows: the manager, the generator, the
// viewer, the import wizard and the binding table viewer.
#pragma once

#include "data/SeriesFiles.h"

class ExcelBindingTable;
class QWidget;
class WindowRegistry;

namespace SeriesWindows
{
// parent owns the dialogs; inUse is the main window's test whether a series is bound; binding is
// the design's binding table, which the binding table viewer shows (it outlives the dialogs).
void fill(WindowRegistry &registry, QWidget *parent, const SeriesInUseTest &inUse,
          ExcelBindingTable &binding);
} // namespace SeriesWindows
