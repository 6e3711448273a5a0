#include "tools/common/PictureSize.h"

#include <charconv>

namespace toolcli {

namespace {

std::optional<int> Side(const char* begin, const char* end, int maxSide) {
  int value = 0;
  const auto [rest, error] = std::from_chars(begin, end, value);
  if (begin == end || *begin == '+' || *begin == '-' || error != std::errc() || rest != end) return std::nullopt;
  if (value < 1 || value > maxSide) return std::nullopt;
  return value;
}

}  // namespace

std::optional<TPictureSize> ParsePictureSize(const std::string& text, int maxSide) {
  const auto x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const char* begin = text.data();
  const auto width = Side(begin, begin + x, maxSide);
  const auto height = Side(begin + x + 1, begin + text.size(), maxSide);
  if (!width || !height) return std::nullopt;
  return TPictureSize{*width, *height};
}

CLI::Validator PictureSizeCheck(int maxSide) {
  return CLI::Validator(
      [maxSide](std::string& text) -> std::string {
        if (ParsePictureSize(text, maxSide)) return {};
        return "bad size \"" + text + "\": expected WIDTHxHEIGHT, each from 1 to " + std::to_string(maxSide);
      },
      "");
}

}  // namespace toolcli
