// The window registry lives in foundation, where every window folder may reach it; this name stays
// until the folders that still include it from here have moved.
#pragma once

#include "foundation/WindowRegistry.h"
