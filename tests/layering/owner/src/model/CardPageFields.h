// The stored page fields of the sample: the names the check reads.
#pragma once

#include "model/Card_Property.h"

inline constexpr Field Table[] = {
    {"Card_Shape", Kind::String, &Card_Property::Card_Shape},
    {"Card_Size", Kind::Size, &Card_Property::Card_Size},
};
