#include "platform/testing/MemoryFileSystem.h"

#include <chrono>

#include "platform/FileError.h"
#include "platform/PathNames.h"

namespace platform::testing {

MemoryFileSystem::MemoryFileSystem() { directories_.insert("/"); }

std::string MemoryFileSystem::Absolute(const std::string& name) const {
    std::string path = ToNativeSeparators(name);
    if (path.empty() || path.front() != '/') path = current_ + "/" + path;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts) result += "/" + part;
    return result.empty() ? "/" : result;
}

std::string MemoryFileSystem::Lookup(const std::string& absolute) const {
    if (files_.count(absolute) || directories_.count(absolute)) return absolute;
    // Maps are sorted, so the first match is the alphabetically first spelling.
    for (const auto& [name, file] : files_) {
        if (SameNameIgnoringCase(name, absolute)) return name;
    }
    for (const std::string& name : directories_) {
        if (SameNameIgnoringCase(name, absolute)) return name;
    }
    return absolute;
}

MemoryFileSystem::File* MemoryFileSystem::FindFile(const std::string& name) {
    auto it = files_.find(Lookup(Absolute(name)));
    return it == files_.end() ? nullptr : &it->second;
}

FileTime MemoryFileSystem::NextAge() { return FileTime{} + std::chrono::seconds(++clock_); }

void MemoryFileSystem::AddDirectory(const std::string& name) {
    std::string path = Absolute(name);
    while (true) {
        directories_.insert(path);
        std::size_t slash = path.rfind('/');
        if (slash == 0 || slash == std::string::npos) break;
        path.resize(slash);
    }
}

void MemoryFileSystem::AddFile(const std::string& name, std::string bytes) {
    std::string path = Absolute(name);
    std::size_t slash = path.rfind('/');
    if (slash > 0) AddDirectory(path.substr(0, slash));
    files_[path] = File{std::move(bytes), NextAge(), false};
}

void MemoryFileSystem::SetReadOnly(const std::string& name, bool readOnly) {
    if (File* file = FindFile(name)) file->readOnly = readOnly;
    const std::string directory = Lookup(Absolute(name));
    if (directories_.count(directory)) {
        if (readOnly) {
            readOnlyDirectories_.insert(directory);
        } else {
            readOnlyDirectories_.erase(directory);
        }
    }
}

void MemoryFileSystem::SetFileAge(const std::string& name, FileTime time) {
    if (File* file = FindFile(name)) file->age = time;
}

bool MemoryFileSystem::FileExists(const std::string& name) { return FindFile(name) != nullptr; }

bool MemoryFileSystem::DirectoryExists(const std::string& name) {
    return directories_.count(Lookup(Absolute(name))) != 0;
}

std::string MemoryFileSystem::ReadBytes(const std::string& name) {
    File* file = FindFile(name);
    if (!file) throw EFileError("Cannot open file \"" + name + "\". No such file.", name);
    return file->bytes;
}

std::string MemoryFileSystem::ParentOf(const std::string& path) const {
    std::string parent = path.substr(0, path.rfind('/'));
    return parent.empty() ? "/" : parent;
}

std::string MemoryFileSystem::WritePath(const std::string& name) {
    std::string path = Lookup(Absolute(name));
    if (!files_.count(path)) {
        // A new file goes into the existing spelling of its directory.
        std::size_t slash = path.rfind('/');
        std::string parent = Lookup(slash == 0 ? "/" : path.substr(0, slash));
        path = (parent == "/" ? "" : parent) + path.substr(slash);
    }
    if (directories_.count(path) || !directories_.count(ParentOf(path))) {
        throw EFileError("Cannot create file \"" + name + "\". No such directory.", name);
    }
    return path;
}

void MemoryFileSystem::WriteBytes(const std::string& name, std::string_view bytes) {
    const std::string path = WritePath(name);
    auto it = files_.find(path);
    if (it != files_.end() && it->second.readOnly) {
        throw EFileError("Cannot create file \"" + name + "\". Access denied.", name);
    }
    if (it == files_.end() && readOnlyDirectories_.count(ParentOf(path))) {
        throw EFileError("Cannot create file \"" + name + "\". Permission denied.", name);
    }
    if (freeSpace_ && bytes.size() > *freeSpace_) {
        throw EFileError("Cannot create file \"" + name + "\". No space left on device.", name);
    }
    files_[path] = File{std::string(bytes), NextAge(), false};
    writes_.push_back(path);
}

void MemoryFileSystem::ReplaceBytes(const std::string& name, std::string_view bytes) {
    ReplaceAt(name, WritePath(name), bytes);
}

void MemoryFileSystem::SaveBytesAs(const std::string& name, std::string_view bytes) {
    const std::string path = Absolute(name);
    if (directories_.count(path) || !directories_.count(ParentOf(path))) {
        throw EFileError("Cannot create file \"" + name + "\". No such directory.", name);
    }
    ReplaceAt(name, path, bytes);
}

bool MemoryFileSystem::FileExistsAsNamed(const std::string& name) {
    const std::string path = Absolute(name);
    return files_.count(path) != 0 || directories_.count(path) != 0;
}

void MemoryFileSystem::ReplaceAt(const std::string& name, const std::string& path, std::string_view bytes) {
    auto it = files_.find(path);
    const auto failure = [&name](const std::string& reason) {
        return EFileError("Cannot write file \"" + name + "\". " + reason, name);
    };
    if (it != files_.end() && it->second.readOnly) throw failure("The file is read-only.");
    // The new file is made beside the old one; a directory that takes no new file leaves only
    // the existing file itself to be written in place.
    if (readOnlyDirectories_.count(ParentOf(path)) && it == files_.end()) throw failure("Permission denied.");
    if (freeSpace_ && bytes.size() > *freeSpace_) throw failure("No space left on device.");
    files_[path] = File{std::string(bytes), NextAge(), false};
    writes_.push_back(path);
}

std::optional<FileTime> MemoryFileSystem::FileAge(const std::string& name) {
    File* file = FindFile(name);
    if (!file) return std::nullopt;
    return file->age;
}

bool MemoryFileSystem::RemoveFile(const std::string& name) {
    return files_.erase(Lookup(Absolute(name))) != 0;
}

void MemoryFileSystem::SetCurrentDirectory(const std::string& directory) {
    std::string path = Lookup(Absolute(directory));
    if (!directories_.count(path)) {
        throw EFileError("Cannot change to directory \"" + directory + "\".", directory);
    }
    current_ = path;
}

std::string MemoryFileSystem::ResolveName(const std::string& name) {
    return Lookup(Absolute(name));
}

}  // namespace platform::testing
