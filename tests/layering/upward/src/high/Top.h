#pragma once
#include "low/Base.h"
#include "low/ui/Window.h"
