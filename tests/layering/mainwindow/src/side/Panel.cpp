#include "editor/State.h"
#include "editor/Window.h"
