#pragma once
// maprender's PNG writer: a map picture is mostly large areas of one colour, which the fastest
// deflate level packs nearly as well as the default one. Qt's writer tries every row filter and
// packs harder, which cost a sixth of a whole render of a ten-million-point layer; this one
// writes the rows unfiltered at the fastest level. The pixels are the same.

#include <string>

#include "platform/Bitmap24.h"

namespace maprender {

// Writes the bitmap as an 8-bit RGB PNG; false when the file cannot be written or the bitmap is
// empty.
bool WriteQuickPng(const platform::Bitmap24& bitmap, const std::string& fileName);

}  // namespace maprender
