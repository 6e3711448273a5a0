#include "platform/FileSystem.h"

namespace platform {

TextLines FileSystem::ReadLines(const std::string& name) { return SplitLines(ReadBytes(name)); }

void FileSystem::WriteLines(const std::string& name, const TextLines& lines) {
    WriteBytes(name, JoinLinesCrLf(lines));
}

}  // namespace platform
