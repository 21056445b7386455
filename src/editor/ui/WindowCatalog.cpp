#include "editor/ui/WindowCatalog.h"

#include "barcode/BarcodeSettings.h"
#include "barcode/ui/Barcode_Gen.h"
#include "canvas/ui/SKTGraphicView.h"
#include "data/ui/SeriesWindows.h"
#include "editor/SeriesInUse.h"
#include "editor/ui/MainWindowOutputHost.h"
#include "editor/ui/SKTWindowController.h"
#include "editor/ui/StartWindows.h"
#include "editor/ui/TemplateCommands.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "model/SKTBarcode.h"
#include "panels/ui/BarcodePanel.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/PanelEdits.h"
#include "platform/MessageService.h"
#include "profile/ui/UserProfileCommands.h"
#include "support/ui/SupportCommands.h"

#include <exception>

namespace
{
// A barcode's type and value as the log names them.
QString typeAndValue(const SKTGraphic &b)
{
    return QStringLiteral("%1 \"%2\"")
        .arg(BarcodeSettings::titleForIndex(b.linear_or_2d, b.barcode_font_index),
             (b.linear_or_2d != 0 ? b.two_d_font_val : b.linear_font_val).value_or(QString()));
}

// The barcode window on the live side's current object, its result applied to the selection;
// 1 after OK, 0 after Cancel or without a current barcode.
int openBarcodeWindow(InspectorHost &host)
{
    try {
        SKTGraphicView *canvas = host.liveCanvas();
        // The window edits one object: without a current barcode there is nothing to open it on.
        const auto barcode = std::dynamic_pointer_cast<SKTBarcode>(canvas->selectedGraphic());
        if (!barcode)
            return 0;
        Barcode_Gen *gen = host.registry().instance<Barcode_Gen>([&host] {
            auto *made = new Barcode_Gen(&host.inspectorWindow());
            made->registry = &host.registry();
            made->refreshCanvas = [&host] { host.Refresh_Canvas(); };
            made->binding = &host.document().design().binding;
            return made;
        });
        // What OK writes into the barcode and the other selected barcodes is one step. The card
        // bounds the barcode: a larger symbol moves inward, or is refused before OK.
        const GraphicList others = BarcodePanel::otherBarcodes(host, *barcode);
        gen->setEditedCount(int(others.size()) + 1);
        gen->setOtherBarcodes(others);
        gen->setSideObjects(canvas->graphics());
        bool accepted = false;
        PanelEdits::objects(host, QStringLiteral("Barcode"), others + GraphicList{barcode}, [&] {
            const std::optional<Picture> picture = gen->Open_Wnd(*barcode, canvas->bounds());
            if (!picture)
                return;
            // The others take only what the user changed, and each its own picture.
            BarcodePanel::passChanges(
                host, *gen->openedSettings(), *barcode, others, gen->valueChosen(),
                [gen](SKTBarcode &other, const SKTGraphic &before) {
                    const QString passed = typeAndValue(other);
                    const Barcode_Gen::Given given = gen->givePictureTo(other, before);
                    if (given == Barcode_Gen::Given::OwnType)
                        Show_NSLog_Message(QStringLiteral("The barcode %1 keeps its own type and "
                                                          "value: %2 makes no picture")
                                               .arg(typeAndValue(other), passed));
                    else if (given == Barcode_Gen::Given::Nothing)
                        Show_NSLog_Message(QStringLiteral("The barcode %1 keeps all its settings: "
                                                          "with those chosen it makes no picture")
                                               .arg(typeAndValue(other)));
                });
            accepted = true;
        });
        // The window keeps no objects of the design between openings.
        gen->setOtherBarcodes({});
        gen->setSideObjects({});
        // Frames that grew where there was no room for them are the user's to settle.
        if (const QStringList notes = gen->takeFrameNotes(); !notes.isEmpty())
            MessageService::deliverMessage(notes.join(QStringLiteral("\n")));
        return accepted ? 1 : 0;
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}
} // namespace

void fillWindowRegistry(SKTWindowController &window, WindowRegistry &registry)
{
    // Entries not filled here keep their menu items disabled.
    MainWindowOutputHost::fillRegistry(window, registry);
    fillStartWindows(window, registry);
    UserProfileCommands::fillRegistry(window, registry);
    TemplateCommands::fill(window, registry);
    SupportCommands::fill(registry, &window, SKTWindowController::App_Name);
    registry.fill(WindowRegistry::Window::BarcodeWindow,
                  [&window](const QString &) { return openBarcodeWindow(window); });
    SeriesWindows::fill(
        registry, &window,
        [&window](const QString &name) {
            SKTDocument &doc = window.document();
            return Check_Batch_File_In_Use_Validation(name, doc.graphics(), doc.graphics_back(),
                                                      window.Front_card_Prop().Card_Side, Data_Folder_Path);
        },
        [&window] { return window.viewedBinding(); },
        [&window](const ExcelBindingTable &table) { window.keepViewedBinding(table); });
}
