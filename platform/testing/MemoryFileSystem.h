#pragma once

#include <cstdint>
#include <map>
#include <optional>
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
    // A read-only file cannot be written or replaced; in a read-only directory no file can be
    // created or replaced (existing files can still be overwritten in place).
    void SetReadOnly(const std::string& name, bool readOnly = true);
    // Writes of more bytes than this fail as on a full disk; none means no limit.
    void SetFreeSpace(std::optional<std::size_t> bytes) { freeSpace_ = bytes; }
    void SetFileAge(const std::string& name, FileTime time);
    // The bytes of a file; throws EFileError when missing.
    std::string FileBytes(const std::string& name) { return ReadBytes(name); }
    // Absolute names written by WriteBytes, in order.
    const std::vector<std::string>& Writes() const { return writes_; }

    bool FileExists(const std::string& name) override;
    bool DirectoryExists(const std::string& name) override;
    std::string ReadBytes(const std::string& name) override;
    void WriteBytes(const std::string& name, std::string_view bytes) override;
    void ReplaceBytes(const std::string& name, std::string_view bytes) override;
    void SaveBytesAs(const std::string& name, std::string_view bytes) override;
    bool FileExistsAsNamed(const std::string& name) override;
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
    // The stored name a written file gets; throws EFileError for a missing directory.
    std::string WritePath(const std::string& name);
    std::string ParentOf(const std::string& path) const;
    // ReplaceBytes of the stored name path.
    void ReplaceAt(const std::string& name, const std::string& path, std::string_view bytes);

    std::map<std::string, File> files_;
    std::set<std::string> directories_;
    std::set<std::string> readOnlyDirectories_;
    std::optional<std::size_t> freeSpace_;
    std::string current_ = "/";
    std::vector<std::string> writes_;
    std::int64_t clock_ = 0;
};

}  // namespace platform::testing
