#pragma once
// Shared pieces of the fuzz programs: a scratch folder in memory-backed storage for readers that
// need real files, and the splitting of one fuzz input into several files.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzz {

// This process's scratch folder (created on first use under /dev/shm, or the temp folder when
// /dev/shm is missing; removed at exit). Ends with "/".
const std::string& ScratchDir();

// Writes bytes to a file of the scratch folder (replacing it) and returns its full name.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);
// Removes a file of the scratch folder, when present.
void RemoveScratchFile(const std::string& name);

// A binary input cut in two: a 32-bit little-endian length of the first part (clamped to what
// follows), the first part, then the second part (all the rest).
std::pair<std::string_view, std::string_view> SplitByLength(std::string_view input);

// A text input cut into named files: each line "=== NAME" starts the file NAME; the bytes before
// the first such line belong to `firstName`. Later parts with the same name are appended.
std::vector<std::pair<std::string, std::string>> SplitNamedFiles(std::string_view input,
                                                                 const std::string& firstName);

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fuzz
