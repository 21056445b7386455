#pragma once
#include "foundation/ui/Look.h"
