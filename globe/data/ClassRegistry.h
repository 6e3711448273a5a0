#pragma once
// The class registry: engine classes register a factory under their class name so that
// environment and layer files can name the class to create. Names compare without regard to
// case. A class may register one factory per base it is created as, each with the arguments of
// that base's "virtual constructor" (for example a layer created for its globe, a projection
// model for its projection). Arguments are passed by value (parents as pointers); the factory is
// found by the decayed argument types, so a caller passing a derived pointer names the types:
//
//   RegisterGlobeClass<TMercatorPrj, TProjectionModel, TGlobeProjection*>("TMercatorPrj");
//   const TGlobeClassEntry& c = FindGlobeClass(name);      // "Class %s not found"
//   auto m = c.Create<TProjectionModel, TGlobeProjection*>(projection);
//   if (!m) throw EGlobeException(FormatGlobeMessage(
//       "Class %s does not inherit from TProjectionModel", name));

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "globe/data/GlobeException.h"

namespace globe {

class TGlobeClassEntry {
 public:
  explicit TGlobeClassEntry(std::string name) : Name_(std::move(name)) {}

  const std::string& Name() const { return Name_; }

  // Creates the class as `Base` with the arguments of Base's factory; nullptr when the class was
  // not registered as `Base` with these argument types.
  template <class Base, class... Args>
  std::unique_ptr<Base> Create(Args&&... args) const {
    using Factory = std::function<std::unique_ptr<Base>(std::decay_t<Args>...)>;
    for (const std::any& f : Factories_)
      if (const Factory* factory = std::any_cast<Factory>(&f))
        return (*factory)(std::forward<Args>(args)...);
    return nullptr;
  }
  // Whether the class can be created as `Base` with these argument types.
  template <class Base, class... Args>
  bool CreatesAs() const {
    using Factory = std::function<std::unique_ptr<Base>(std::decay_t<Args>...)>;
    for (const std::any& f : Factories_)
      if (std::any_cast<Factory>(&f)) return true;
    return false;
  }

  template <class Base, class... Args>
  void AddFactory(std::function<std::unique_ptr<Base>(std::decay_t<Args>...)> factory) {
    using Factory = std::function<std::unique_ptr<Base>(std::decay_t<Args>...)>;
    for (std::any& f : Factories_)
      if (std::any_cast<Factory>(&f)) {
        f = std::move(factory);
        return;
      }
    Factories_.emplace_back(std::move(factory));
  }

 private:
  std::string Name_;
  std::vector<std::any> Factories_;
};

// The process-wide entry for a name, created when missing.
TGlobeClassEntry& GlobeClassEntry(std::string_view className);
// The entry of a registered name, or nullptr.
const TGlobeClassEntry* FindGlobeClassOrNull(std::string_view className);
// The entry of a registered name; raises EGlobeException "Class %s not found".
const TGlobeClassEntry& FindGlobeClass(std::string_view className);
// Names registered so far, in registration order.
std::vector<std::string> RegisteredGlobeClassNames();

// Registers `Class` under `className`, created as `Base` from `Args`
// (by `std::make_unique<Class>(args...)`).
template <class Class, class Base, class... Args>
void RegisterGlobeClass(std::string_view className) {
  GlobeClassEntry(className).AddFactory<Base, Args...>(
      std::function<std::unique_ptr<Base>(std::decay_t<Args>...)>(
          [](std::decay_t<Args>... args) -> std::unique_ptr<Base> {
            return std::make_unique<Class>(args...);
          }));
}

// Creates a registered class as `Base`: raises "Class %s not found" for an unknown name and
// "Class %s does not inherit from <baseName>" when the class is not registered as `Base`.
template <class Base, class... Args>
std::unique_ptr<Base> CreateGlobeClass(std::string_view className, std::string_view baseName,
                                       Args&&... args) {
  const TGlobeClassEntry& entry = FindGlobeClass(className);
  std::unique_ptr<Base> created = entry.template Create<Base, Args...>(std::forward<Args>(args)...);
  if (!created)
    throw EGlobeException(FormatGlobeMessage(
        "Class %s does not inherit from " + std::string(baseName), className));
  return created;
}

}  // namespace globe
