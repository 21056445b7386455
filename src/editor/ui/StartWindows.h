// The registry entries of the start wizard and the picture library, and what the main window
// does with their answers.
#pragma once

class SKTWindowController;
class WindowRegistry;

void fillStartWindows(SKTWindowController &window, WindowRegistry &registry);
