#pragma once
#include "side/ui/Panel.h"
#include "foundation/ui/Look.h"
