// cardtool template-export: keeps a design as a user template, the design file and a preview of
// both sides in the "Templates/User" folder of a data root.
#include "Command.h"

#include "DesignLoading.h"

#include "editor/DesignFileFormat.h"
#include "editor/TemplateStore.h"

#include <QDir>

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

    cardtool::LoadedDesign loaded;
    QString loadError;
    if (!cardtool::loadDesign(designPath, QStringLiteral("T"), loaded, &loadError)) {
        cardtool::fail(QStringLiteral("template-export: %1: %2").arg(designPath, loadError));
        return 1;
    }
    CardDesign design = loaded.design();
    const plist::Array items = DesignFileFormat::buildItems(design);
    const auto plan = RunPlan::make(loaded.design(), RunPlan::Choices(),
                                    {root, QDir(root).filePath(QStringLiteral("DataSet"))});

    const TemplateResult written = store.exportTemplate(clean, items, plan);
    if (!written.ok()) {
        cardtool::fail(QStringLiteral("template-export: ") + written.message);
        return 1;
    }
    const QString lines = store.designPath(clean) + QLatin1Char('\n') + store.previewPath(clean) +
                          QLatin1Char('\n') + written.message + QLatin1Char('\n');
    return cardtool::writeStdout(lines.toUtf8()) ? 0 : 1;
}
