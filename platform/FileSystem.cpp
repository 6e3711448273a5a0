#include "platform/FileSystem.h"

#include "platform/FileError.h"

namespace platform {

TextLines FileSystem::ReadLines(const std::string& name) { return SplitLines(ReadBytes(name)); }

void FileSystem::WriteLines(const std::string& name, const TextLines& lines) {
    WriteBytes(name, JoinLinesCrLf(lines));
}

void FileSystem::ReplaceLines(const std::string& name, const TextLines& lines) {
    ReplaceBytes(name, JoinLinesCrLf(lines));
}

void FileSystem::ReplaceBytes(const std::string& name, std::string_view) {
    throw EFileError("Cannot write file \"" + name + "\". This file system cannot replace files safely.", name);
}

bool FileSystem::CanWrite(const std::string&) { return true; }

void FileSystem::SaveBytesAs(const std::string& name, std::string_view bytes) { FileSystem::ReplaceBytes(name, bytes); }

}  // namespace platform
