#pragma once
#include "side/State.h"
