// Fills the window registry's entries of the series windows: the manager, the generator, the
// viewer, the import wizard and the binding table viewer.
#pragma once

#include "data/SeriesFiles.h"

#include <functional>

class ExcelBindingTable;
class QWidget;
class WindowRegistry;

namespace SeriesWindows
{
// parent owns the dialogs; inUse is the main window's test whether a series is bound. The binding
// table viewer shows a copy of the design's table (`binding`) and hands the table as the user left
// it to `keep`, which writes it through the design's owner.
void fill(WindowRegistry &registry, QWidget *parent, const SeriesInUseTest &inUse,
          const std::function<ExcelBindingTable()> &binding,
          const std::function<void(const ExcelBindingTable &)> &keep);
} // namespace SeriesWindows
