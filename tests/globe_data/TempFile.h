#pragma once
// Scratch files for file-reader tests, removed when the test ends.

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace globe::testing {

class TempDir {
 public:
  TempDir()
      : Path(std::filesystem::temp_directory_path() /
             ("corvalis_readers_" + std::to_string(::getpid()) + "_" + std::to_string(Counter++))) {
    // A folder of the same name left by a killed run of a process with this number goes first.
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
    std::filesystem::create_directories(Path);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
  }
  // Writes bytes to a file in the directory and returns its full name.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
    return File(name);
  }
  std::string File(const std::string& name) const { return (Path / name).string(); }
  const std::filesystem::path Path;

 private:
  static inline int Counter = 0;
};

inline std::string ReadWholeFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace globe::testing
