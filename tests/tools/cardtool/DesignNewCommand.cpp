// cardtool design-new: writes the design a New command leaves: reset page settings, empty sides,
// no Excel binding.
#include "Command.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"

CARDTOOL_COMMAND(designNew, "design-new", "OUT.dcard")
{
    if (args.size() != 1) {
        cardtool::fail(QStringLiteral("design-new needs one output path"));
        return 1;
    }
    Card_Property front, back;
    DesignFile::resetPageSettings(front, back);
    ExcelBindingTable binding;
    const plist::Array items = DesignFileFormat::buildItems(front, back, binding, {}, {});
    QString error;
    if (!DesignFile::writeItems(args.first(), items, &error)) {
        cardtool::fail(error);
        return 1;
    }
    return 0;
}
