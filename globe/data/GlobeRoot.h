#pragma once
// Root of the globe engine's classes: no fields, a virtual destructor and the class name that
// files use to name the class to create.

#include <string>

namespace globe {

class TGlobeRoot {
 public:
  TGlobeRoot() = default;
  TGlobeRoot(const TGlobeRoot&) = default;
  TGlobeRoot& operator=(const TGlobeRoot&) = default;
  virtual ~TGlobeRoot() = default;

  // Name of the most derived class, e.g. "TPointStore"; every engine class overrides it.
  virtual std::string ClassName() const { return "TGlobeRoot"; }
  // The persistent-object name path: the class name.
  std::string NamePath() const { return ClassName(); }
};

}  // namespace globe
