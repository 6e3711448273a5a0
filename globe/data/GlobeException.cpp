#include "globe/data/GlobeException.h"

namespace globe {

std::string FormatGlobeMessage(std::string_view pattern, std::string_view argument) {
  std::string text(pattern);
  std::size_t at = text.find("%s");
  if (at == std::string::npos) at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

}  // namespace globe
