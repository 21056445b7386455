#include "editor/State.h"
