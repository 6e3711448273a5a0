#pragma once
// The globe engine's exception: data errors are reported by raising it with a message.

#include <stdexcept>
#include <string>
#include <string_view>

namespace globe {

class EGlobeException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Replaces the first "%s" (or "%d") of a message pattern with the argument, as the engine's
// messages such as "Class %s not found" are written.
std::string FormatGlobeMessage(std::string_view pattern, std::string_view argument);

}  // namespace globe
