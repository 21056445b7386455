// The stored page fields of the sample: the names the check reads, the card's outline and size
// stored on each page among them.
#pragma once

#include "model/Card_Property.h"

inline constexpr Field Table[] = {
    {"Card_Name", Kind::String, &Card_Property::Card_Name},
};
inline constexpr const char *OutlineName = "Card_Shape";
inline constexpr const char *SizeName = "Card_Size";
