#include "scenario/BaseLookup.h"

#include "scenario/Base.h"

namespace scenario {

TBase* FindBaseByTitle(const std::vector<TBase*>& bases, std::string_view name) {
    for (TBase* base : bases) {
        if (base->Title() == name) return base;
    }
    return nullptr;
}

bool FindBaseLocation(const std::vector<TBase*>& bases, std::string_view name, globe::TGeoPoint& point) {
    const TBase* base = FindBaseByTitle(bases, name);
    if (base == nullptr) return false;
    point = base->Location;
    return true;
}

}  // namespace scenario
