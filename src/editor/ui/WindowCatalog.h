// Where each window of the program fills its registry entry; one line per window, so every
// window's own work adds itself here without touching the main window.
#pragma once

class SKTWindowController;
class WindowRegistry;

void fillWindowRegistry(SKTWindowController &window, WindowRegistry &registry);
