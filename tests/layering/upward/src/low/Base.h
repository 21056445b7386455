#pragma once
#include "low/ui/Window.h"
