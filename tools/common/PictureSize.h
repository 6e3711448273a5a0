#pragma once
// A picture size given on a command line as "WIDTHxHEIGHT".

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace toolcli {

struct TPictureSize {
  int Width = 0;
  int Height = 0;
};

// "WxH" with both sides whole numbers from 1 to maxSide; nothing otherwise.
std::optional<TPictureSize> ParsePictureSize(const std::string& text, int maxSide);

// A CLI11 check of a "WxH" option that says what it expected.
CLI::Validator PictureSizeCheck(int maxSide);

}  // namespace toolcli
