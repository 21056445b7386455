// cardtool template-export: keeps a design as a user template, the design file and a preview of
// both sides in the "Templates/User" folder of a data root.
#include "Command.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignEditor.h"
#include "editor/DesignFile.h"
#include "editor/TemplateStore.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "output/BatchFillSnapshot.h"
#include "panels/Card_Property.h"

#include <QDir>

namespace
{
// Keeps what the design file tells the editor about the card's size.
class CanvasSize : public DesignEditor
{
public:
    QSizeF size;
    void SetDocumentCanvasSize(const QSizeF &s) override { size = s; }
};
} // namespace

CARDTOOL_COMMAND(templateExportCommand, "template-export",
                 "DESIGN --name N --root DIR [--replace]   keeps a design as a user template")
{
    QStringList rest = args;
    QString name, root;
    const bool haveName = cardtool::takeOption(rest, QStringLiteral("--name"), &name);
    const bool haveRoot = cardtool::takeOption(rest, QStringLiteral("--root"), &root);
    const bool replace = cardtool::takeFlag(rest, QStringLiteral("--replace"));
    if (!haveName || !haveRoot || rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        cardtool::fail(QStringLiteral("template-export: give one design file, --name N and --root DIR"));
        return 1;
    }
    const QString designPath = rest.first();

    const TemplateStore store(TemplateStore::userFolderOf(root));
    QString clean;
    const TemplateResult named = store.OKPressed(
        name, QString(), [replace](const QString &) { return replace; }, &clean);
    if (named.status == TemplateResult::Status::Cancelled) {
        cardtool::fail(QStringLiteral("template-export: ") + TemplateStore::MsgExists +
                       QStringLiteral(" (--replace replaces it)"));
        return 1;
    }
    if (!named.ok()) {
        cardtool::fail(QStringLiteral("template-export: ") + named.message);
        return 1;
    }

    SKTDocument document;
    Card_Property front, back;
    ExcelBindingTable binding;
    CanvasSize editor;
    DesignFile file(document, front, back, binding, &editor);
    const DesignResult loaded = file.Read_and_load_design_Log(designPath, QStringLiteral("T"));
    if (!loaded.ok()) {
        cardtool::fail(QStringLiteral("template-export: %1: %2")
                           .arg(designPath, loaded.message.isEmpty() ? loaded.reason : loaded.message));
        return 1;
    }
    const plist::Array items =
        DesignFileFormat::buildItems(front, back, binding, document.graphics(), document.graphics_back());

    BatchFillSnapshot::Design design;
    design.front = document.graphics();
    design.back = document.graphics_back();
    design.frontPage = front;
    design.backPage = back;
    design.cardShape = ModelGlobals::instance().Card_Shape;
    design.CARD_SIDE_STR = front.Card_Side;
    const QSizeF size = editor.size.isValid() && !editor.size.isEmpty() ? editor.size : front.Card_Size;
    if (size.isValid() && !size.isEmpty())
        design.cardArea = QRectF(QPointF(0, 0), size);
    design.resourcePath = root;
    design.excelRows = binding.ListData();
    design.dataFolder = QDir(root).filePath(QStringLiteral("DataSet"));
    auto snapshot = std::make_shared<const BatchFillSnapshot>(BatchFillSnapshot::take(design));

    const TemplateResult written = store.exportTemplate(clean, items, snapshot);
    if (!written.ok()) {
        cardtool::fail(QStringLiteral("template-export: ") + written.message);
        return 1;
    }
    const QString lines = store.designPath(clean) + QLatin1Char('\n') + store.previewPath(clean) +
                          QLatin1Char('\n') + written.message + QLatin1Char('\n');
    return cardtool::writeStdout(lines.toUtf8()) ? 0 : 1;
}
