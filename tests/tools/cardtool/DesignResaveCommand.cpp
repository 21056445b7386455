// cardtool design-resave: opens a design as the editor does and saves it again to another path.
#include "Command.h"
#include "DesignLoading.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "model/SKTDocument.h"

CARDTOOL_COMMAND(designResave, "design-resave", "IN.dcard OUT.dcard")
{
    if (args.size() != 2) {
        cardtool::fail(QStringLiteral("design-resave needs an input and an output path"));
        return 1;
    }
    SKTDocument document;
    DesignFile file(document, nullptr);
    if (!cardtool::openToSave(file, args.at(0)))
        return 1;
    EditorState::instance().Project_File_Name = args.at(1);
    const DesignResult saved = file.Save_project_file(false, false);
    if (!saved.ok()) {
        cardtool::fail(QStringLiteral("the design could not be written: ") + saved.reason);
        return 1;
    }
    return 0;
}
