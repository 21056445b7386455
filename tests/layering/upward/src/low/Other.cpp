#include "../high/Top.h"
#include "Base.h"
