#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextLines.h"

namespace platform {

using FileTime = std::filesystem::file_time_type;

// Access to files and directories. Names may be relative to the current directory and may use
// "\" as separator. On a case-sensitive file system a name whose exact spelling is missing
// means the existing entry that differs from it only in letter case (component by component).
// Failures of reading, writing or changing directory throw EFileError naming the file.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True for an existing file that is not a directory.
    virtual bool FileExists(const std::string& name) = 0;
    virtual bool DirectoryExists(const std::string& name) = 0;
    // The whole file as bytes; a name that is not a regular file (a FIFO, a device) or a file
    // larger than kMaxReadFileBytes (RegularFile.h) throws EFileError naming it.
    virtual std::string ReadBytes(const std::string& name) = 0;
    // Creates or replaces the file with exactly these bytes.
    virtual void WriteBytes(const std::string& name, std::string_view bytes) = 0;
    // Replaces the file with exactly these bytes in one step: the bytes go to a new file in the
    // same folder, which then takes the old file's name, permissions, group and extended
    // attributes (access control lists among them). A file that may not be written (a read-only
    // file, a full disk, any write error) throws EFileError naming the file and the reason, and
    // the old file stays as it was. A symbolic link is followed; one that leads nowhere (a
    // missing file, a loop) throws EFileError and stays as it was. The existing file is written
    // in place instead where a new file could not take its place: other hard links share it (all
    // see the new bytes), its folder takes no new file (read-only or immutable), or the new file
    // could not keep its owner, group or attributes. In place, the new size is reserved before
    // any byte is written, so a full disk throws EFileError saying the file was not changed; a
    // later failure (an I/O error) throws EFileError saying the file holds part of the new
    // bytes. File systems that cannot replace files throw EFileError.
    virtual void ReplaceBytes(const std::string& name, std::string_view bytes);
    // As ReplaceBytes, for a file the user named to save to: exactly this name is written, no
    // letter case resolved, so a new name never replaces a file of another spelling.
    virtual void SaveBytesAs(const std::string& name, std::string_view bytes);
    // True when an entry of exactly this name exists (no letter case resolved).
    virtual bool FileExistsAsNamed(const std::string& name) = 0;
    // The file's last modification time; none when the file does not exist.
    virtual std::optional<FileTime> FileAge(const std::string& name) = 0;
    // Deletes a file; returns false when there was none to delete.
    virtual bool RemoveFile(const std::string& name) = 0;
    // The process's current directory (no trailing separator).
    virtual std::string CurrentDirectory() = 0;
    virtual void SetCurrentDirectory(const std::string& directory) = 0;
    // The spelling under which the name exists (case resolved, "/" separators); a name with
    // no existing match keeps its own spelling from the first missing component on.
    virtual std::string ResolveName(const std::string& name) = 0;
    // Whether this process may write the file or folder (a read-only mount, an immutable or
    // write-protected entry say no; a missing one too). File systems without permissions say yes.
    virtual bool CanWrite(const std::string& name);

    // The file as lines (SplitLines).
    TextLines ReadLines(const std::string& name);
    // Writes lines each followed by CR LF, replacing the file.
    void WriteLines(const std::string& name, const TextLines& lines);
    // As WriteLines, through ReplaceBytes.
    void ReplaceLines(const std::string& name, const TextLines& lines);
};

}  // namespace platform
