// File > New from Template and File > Export As Template: the template browser and the name
// dialog run for the main window, and the design loaded from or kept as a template.
#pragma once

class SKTWindowController;
class WindowRegistry;

class TemplateCommands
{
public:
    // Asks for a name and keeps the current design as a user template (the design file and a
    // picture of both sides). The design's own file and title stay as they are. 1 when written.
    static int Export_As_Template_Clicked(SKTWindowController &window, WindowRegistry &registry);
    // Offers to save first, then loads the template chosen in the browser as a new, unsaved
    // design. 1 when a template was loaded.
    static int New_From_Template(SKTWindowController &window, WindowRegistry &registry);
    // Fills TemplateBrowser, ExportTemplate and GreetingText (the text panel's picker).
    static void fill(SKTWindowController &window, WindowRegistry &registry);
};
