#include "other/ui/Thing.h"
#include "side/ui/Panel.h"
#include "side/State.h"
