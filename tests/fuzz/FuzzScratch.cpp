#include "FuzzScratch.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fuzz {

namespace fs = std::filesystem;

namespace {

void RemoveScratchDir() {
  std::error_code ignored;
  fs::remove_all(ScratchDir(), ignored);
}

}  // namespace

const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::error_code error;
    const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "corvalis-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch folder");
    return pattern + "/";
  }();
  static const bool registered = (std::atexit(RemoveScratchDir), true);
  (void)registered;
  return dir;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchDir() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

void RemoveScratchFile(const std::string& name) {
  std::error_code ignored;
  fs::remove(ScratchDir() + name, ignored);
}

std::pair<std::string_view, std::string_view> SplitByLength(std::string_view input) {
  if (input.size() < 4) return {input, {}};
  uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = length << 8 | static_cast<uint8_t>(input[i]);
  input.remove_prefix(4);
  const size_t first = std::min<size_t>(length, input.size());
  return {input.substr(0, first), input.substr(first)};
}

std::vector<std::pair<std::string, std::string>> SplitNamedFiles(std::string_view input,
                                                                 const std::string& firstName) {
  constexpr std::string_view marker = "=== ";
  std::vector<std::pair<std::string, std::string>> files;
  auto fileNamed = [&](const std::string& name) -> std::string& {
    for (auto& file : files)
      if (file.first == name) return file.second;
    return files.emplace_back(name, std::string()).second;
  };
  std::string* current = nullptr;  // the first file exists only when it has bytes
  while (!input.empty()) {
    const size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end == std::string_view::npos ? input.size() : end + 1);
    input.remove_prefix(line.size());
    if (line.substr(0, marker.size()) == marker) {
      std::string name(line.substr(marker.size()));
      while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
      if (!name.empty()) {
        current = &fileNamed(name);
        continue;
      }
    }
    if (current == nullptr) current = &fileNamed(firstName);
    current->append(line);
  }
  return files;
}

}  // namespace fuzz
