#include "editor/Window.h"
