#pragma once
#include "canvas/ui/View.h"
