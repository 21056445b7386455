#pragma once
#include "low/Window.h"
