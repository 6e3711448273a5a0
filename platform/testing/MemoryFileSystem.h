#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace platform::testing {

// An in-memory FileSystem for tests. Paths are absolute "/"-separated names; relative names
// are taken from the current directory (initially "/"). Lookups resolve letter case like the
// local file system. Every write is recorded; files can be made read-only to provoke write
// errors. File ages come from a counter that every write or added file advances.
class MemoryFileSystem : public FileSystem {
public:
    MemoryFileSystem();

    // Adds (or replaces) a file, creating its parent directories.
    void AddFile(const std::string& name, std::string bytes);
    void AddDirectory(const std::string& name);
    void SetReadOnly(const std::string& name, bool readOnly = true);
    void SetFileAge(const std::string& name, FileTime time);
    // The bytes of a file; throws EFileError when missing.
    std::string FileBytes(const std::string& name) { return ReadBytes(name); }
    // Absolute names written by WriteBytes, in order.
    const std::vector<std::string>& Writes() const { return writes_; }

    bool FileExists(const std::string& name) override;
    bool DirectoryExists(const std::string& name) override;
    std::string ReadBytes(const std::string& name) override;
    void WriteBytes(const std::string& name, std::string_view bytes) override;
    std::optional<FileTime> FileAge(const std::string& name) override;
    bool RemoveFile(const std::string& name) override;
    std::string CurrentDirectory() override { return current_; }
    void SetCurrentDirectory(const std::string& directory) override;
    std::string ResolveName(const std::string& name) override;

private:
    struct File {
        std::string bytes;
        FileTime age;
        bool readOnly = false;
    };

    // Absolute, "/"-separated, "." and ".." removed, no trailing separator.
    std::string Absolute(const std::string& name) const;
    // The stored spelling of an absolute name: exact when present, else a case-insensitive match.
    std::string Lookup(const std::string& absolute) const;
    File* FindFile(const std::string& name);
    FileTime NextAge();

    std::map<std::string, File> files_;
    std::set<std::string> directories_;
    std::string current_ = "/";
    std::vector<std::string> writes_;
    std::int64_t clock_ = 0;
};

}  // namespace platform::testing
