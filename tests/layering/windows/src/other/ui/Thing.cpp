#include "other/ui/Thing.h"
#include "side/ui/Panel.h"
