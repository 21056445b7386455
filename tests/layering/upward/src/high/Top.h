#pragma once
#include "low/Base.h"
#include "low/Window.h"
