#include "platform/LocalFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/ExtendedAttributes.h"
#include "platform/FileError.h"
#include "platform/PathNames.h"
#include "platform/RegularFile.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec)) && !ec;
}

// The entry of directory whose name equals component ignoring case; the alphabetically
// first when several do, so the choice does not depend on the directory order.
std::optional<std::string> FindIgnoringCase(const fs::path& directory, const std::string& component) {
    std::error_code ec;
    fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, ec);
    std::optional<std::string> best;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (SameNameIgnoringCase(name, component) && (!best || name < *best)) best = name;
    }
    return best;
}

fs::path Resolve(const std::string& name) {
    fs::path given(ToNativeSeparators(name));
    if (given.empty() || Exists(given)) return given;
    fs::path result = given.root_path();
    bool missing = false;
    for (const fs::path& part : given.relative_path()) {
        std::string component = part.string();
        fs::path exact = result / part;
        if (missing || component.empty() || component == "." || component == ".." || Exists(exact)) {
            result = exact;
            continue;
        }
        if (std::optional<std::string> match = FindIgnoringCase(result, component)) {
            result /= *match;
        } else {
            result = exact;
            missing = true;
        }
    }
    return result;
}

std::string Reason() { return std::strerror(errno); }

// Writes all bytes at the file's current offset; false with errno set on a failure.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A new file beside the one it is to replace: written, flushed to the disk and then renamed over
// it. Until then it is removed again whatever fails.
class ReplacementFile {
public:
    explicit ReplacementFile(const fs::path& target) {
        fs::path folder = target.parent_path();
        if (folder.empty()) folder = ".";
        name_ = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
        fd_ = ::mkstemp(name_.data());
        if (fd_ < 0) name_.clear();
    }
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!name_.empty()) ::unlink(name_.c_str());
    }

    bool Created() const { return fd_ >= 0; }

    // Each step returns false with errno set when it fails.
    bool Write(std::string_view bytes) { return WriteAll(fd_, bytes); }
    bool SetPermissions(mode_t mode) { return ::fchmod(fd_, mode) == 0; }
    // The old file's owner (the superuser only may give a file away), group (an owner may choose
    // any group of their own) and extended attributes, access control lists among them.
    bool KeepOwnerAndAttributes(const fs::path& old, const struct stat& status) {
        struct stat own {};
        if (::fstat(fd_, &own) != 0) return false;
        if (own.st_uid != status.st_uid || own.st_gid != status.st_gid) {
            const uid_t owner = own.st_uid != status.st_uid ? status.st_uid : static_cast<uid_t>(-1);
            if (::fchown(fd_, owner, status.st_gid) != 0) return false;
        }
        return CopyExtendedAttributes(old.c_str(), fd_);
    }
    bool Flush() { return ::fsync(fd_) == 0; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    bool RenameTo(const fs::path& target) {
        if (::rename(name_.c_str(), target.c_str()) != 0) return false;
        name_.clear();
        return true;
    }

private:
    std::string name_;
    int fd_ = -1;
};

// Writes the file itself, for a file that other hard links share, one in a folder that takes no
// new file, or one whose owner a new file could not keep. The new size is reserved first, so a
// full disk stops the write before any byte changed; then the bytes are written from the start,
// the file cut to their length and flushed to the disk. Returns why it failed, if it did.
std::optional<std::string> WriteInPlace(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return Reason();
    std::optional<std::string> failure;
    struct stat old {};
    const off_t size = static_cast<off_t>(bytes.size());
    if (::fstat(fd, &old) != 0) {
        failure = Reason();
    } else if (const int error = size > 0 ? ::posix_fallocate(fd, 0, size) : 0; error != 0) {
        if (old.st_size < size) (void)::ftruncate(fd, old.st_size);  // what the reservation added
        failure = std::string(std::strerror(error)) + ". The file was not changed.";
    } else if (!WriteAll(fd, bytes) || ::ftruncate(fd, size) != 0 || ::fsync(fd) != 0) {
        failure = Reason() + ". The file holds part of the new bytes.";
    }
    const std::string closing = ::close(fd) == 0 ? std::string() : Reason();
    if (!failure && !closing.empty()) failure = closing + ". The file holds part of the new bytes.";
    return failure;
}

// Follows a symbolic link to the file it names; a link that leads nowhere is refused rather than
// replaced by a plain file.
std::optional<std::string> FollowLink(fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return std::nullopt;
    fs::path target = fs::canonical(path, ec);
    if (!ec) {
        path = target;
        return std::nullopt;
    }
    if (ec == std::errc::too_many_symbolic_link_levels) return "It is a symbolic link that leads round in a loop.";
    if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
        return "It is a symbolic link to a file that does not exist.";
    return "It is a symbolic link that cannot be followed. " + ec.message();
}

// The folder's entries are made durable too (the rename); failures here change nothing.
void FlushFolder(const fs::path& target) {
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Replaces the file at path (name as the caller gave it, for messages); see ReplaceBytes.
void ReplaceFile(const std::string& name, fs::path path, std::string_view bytes) {
    const auto failure = [&name](const std::string& reason) {
        return EFileError("Cannot write file \"" + name + "\". " + reason, name);
    };
    if (std::optional<std::string> refused = FollowLink(path)) throw failure(*refused);
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    mode_t mode = NewFileMode();
    if (exists) {
        if (S_ISDIR(old.st_mode)) throw failure("It is a directory.");
        if (!S_ISREG(old.st_mode)) throw failure("It is not a regular file.");
        mode = old.st_mode & 07777;
        // A file without write permission is read-only for everybody, the superuser included.
        if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw failure("The file is read-only.");
        if (::access(path.c_str(), W_OK) != 0) throw failure(Reason());
    }
    // Every hard link is to see the new bytes, and a file of another owner keeps its owner only
    // when it keeps its place on the disk.
    bool inPlace = exists && (old.st_nlink > 1 || (::geteuid() != 0 && old.st_uid != ::geteuid()));
    if (!inPlace) {
        ReplacementFile replacement(path);
        if (!replacement.Created()) {
            // A folder that takes no new file (read-only or immutable) may still let the file
            // itself be written.
            const bool folderRefused = errno == EACCES || errno == EPERM;
            if (!exists || !folderRefused) throw failure(Reason());
            inPlace = true;
        } else if (exists && !replacement.KeepOwnerAndAttributes(path, old)) {
            inPlace = true;  // the new file could not be made the old one's equal
        } else {
            if (!replacement.Write(bytes) || !replacement.SetPermissions(mode) || !replacement.Flush() ||
                !replacement.Close() || !replacement.RenameTo(path))
                throw failure(Reason());
            FlushFolder(path);
            return;
        }
    }
    if (std::optional<std::string> reason = WriteInPlace(path, bytes)) throw failure(*reason);
}

}  // namespace

std::string LocalFileSystem::ResolveName(const std::string& name) { return Resolve(name).string(); }

bool LocalFileSystem::FileExists(const std::string& name) {
    std::error_code ec;
    fs::file_status status = fs::status(Resolve(name), ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool LocalFileSystem::DirectoryExists(const std::string& name) {
    std::error_code ec;
    return fs::is_directory(Resolve(name), ec);
}

std::string LocalFileSystem::ReadBytes(const std::string& name) { return ReadRegularFile(Resolve(name).string(), name); }

void LocalFileSystem::WriteBytes(const std::string& name, std::string_view bytes) {
    fs::path path = Resolve(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw EFileError("Cannot create file \"" + name + "\". " + Reason(), name);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw EFileError("Write error in file \"" + name + "\".", name);
}

void LocalFileSystem::ReplaceBytes(const std::string& name, std::string_view bytes) {
    ReplaceFile(name, Resolve(name), bytes);
}

void LocalFileSystem::SaveBytesAs(const std::string& name, std::string_view bytes) {
    ReplaceFile(name, fs::path(ToNativeSeparators(name)), bytes);
}

bool LocalFileSystem::FileExistsAsNamed(const std::string& name) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(fs::path(ToNativeSeparators(name)), ec)) && !ec;
}

std::optional<FileTime> LocalFileSystem::FileAge(const std::string& name) {
    fs::path path = Resolve(name);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    FileTime time = fs::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return time;
}

bool LocalFileSystem::RemoveFile(const std::string& name) {
    fs::path path = Resolve(name);
    std::error_code ec;
    if (fs::is_directory(path, ec)) return false;
    bool removed = fs::remove(path, ec);
    if (ec) throw EFileError("Cannot delete file \"" + name + "\". " + ec.message(), name);
    return removed;
}

bool LocalFileSystem::CanWrite(const std::string& name) {
    // The kernel's own answer: a read-only mount or an immutable entry refuse even the superuser.
    return ::access(Resolve(name).c_str(), W_OK) == 0;
}

std::string LocalFileSystem::CurrentDirectory() {
    std::error_code ec;
    fs::path current = fs::current_path(ec);
    if (ec) throw EFileError("Cannot read the current directory. " + ec.message(), {});
    return current.string();
}

void LocalFileSystem::SetCurrentDirectory(const std::string& directory) {
    std::error_code ec;
    fs::current_path(Resolve(directory), ec);
    if (ec) {
        throw EFileError("Cannot change to directory \"" + directory + "\". " + ec.message(),
                         directory);
    }
}

}  // namespace platform
