#pragma once
#include "side/ui/Panel.h"
#include "side/State.h"
#include "foundation/ui/Look.h"
