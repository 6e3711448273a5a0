#pragma once

#include "platform/FileSystem.h"

namespace platform {

// The FileSystem of the machine, through std::filesystem and the C++ streams.
class LocalFileSystem : public FileSystem {
public:
    bool FileExists(const std::string& name) override;
    bool DirectoryExists(const std::string& name) override;
    std::string ReadBytes(const std::string& name) override;
    void WriteBytes(const std::string& name, std::string_view bytes) override;
    void ReplaceBytes(const std::string& name, std::string_view bytes) override;
    void SaveBytesAs(const std::string& name, std::string_view bytes) override;
    bool FileExistsAsNamed(const std::string& name) override;
    std::optional<FileTime> FileAge(const std::string& name) override;
    bool RemoveFile(const std::string& name) override;
    std::string CurrentDirectory() override;
    void SetCurrentDirectory(const std::string& directory) override;
    std::string ResolveName(const std::string& name) override;
    bool CanWrite(const std::string& name) override;
};

}  // namespace platform
