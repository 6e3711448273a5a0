#pragma once
// Finding a base of the loaded scenario by its exact title.

#include <string_view>
#include <vector>

#include "globe/data/GeoTypes.h"

namespace scenario {

class TBase;

// The first base with exactly that title, or null.
TBase* FindBaseByTitle(const std::vector<TBase*>& bases, std::string_view name);

// The Location of the first base with exactly that title; false when there is none.
bool FindBaseLocation(const std::vector<TBase*>& bases, std::string_view name, globe::TGeoPoint& point);

}  // namespace scenario
