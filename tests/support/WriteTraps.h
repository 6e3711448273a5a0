#pragma once
// Folders that refuse writes: one where no file can be made (even by the superuser) and a nearly
// full file system. Each reports whether it could be set up here; tests skip when it could not.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace corvalis::testing {

inline bool CanCreateFileIn(const std::filesystem::path& folder) {
    const std::string probe = (folder / ".probe").string();
    const int fd = ::open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
    return fd >= 0 && ::close(fd) == 0 && ::unlink(probe.c_str()) == 0;
}

// Takes the write permission from a folder and, where that is not enough, makes it immutable.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
        using std::filesystem::perms;
        std::error_code ec;
        std::filesystem::permissions(folder_, perms::owner_write | perms::group_write | perms::others_write,
                                     std::filesystem::perm_options::remove, ec);
        if (CanCreateFileIn(folder_)) immutable_ = SetImmutable(true);
        active_ = !CanCreateFileIn(folder_);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ~ReadOnlyFolder() {
        if (immutable_) SetImmutable(false);
        std::error_code ec;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    }

    bool Active() const { return active_; }
private:
    bool SetImmutable(bool on) {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    std::filesystem::path folder_;
    bool immutable_ = false;
    bool active_ = false;
};

// A small memory file system mounted on a folder (where mounting is allowed).
class SmallFileSystem {
public:
    SmallFileSystem(std::filesystem::path folder, std::size_t bytes) : folder_(std::move(folder)) {
        std::filesystem::create_directories(folder_);
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    ~SmallFileSystem() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }

    bool Mounted() const { return mounted_; }
private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

// The folder mounted on itself read-only (where mounting is allowed), as a read-only medium or
// the installed demos are: nothing in it can be written, by the superuser neither.
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(std::filesystem::path folder) : folder_(std::move(folder)) {
        mounted_ = ::mount(folder_.c_str(), folder_.c_str(), nullptr, MS_BIND, nullptr) == 0;
        if (mounted_ && ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            ::umount2(folder_.c_str(), MNT_DETACH);
            mounted_ = false;
        }
    }
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ~ReadOnlyMount() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }

    bool Mounted() const { return mounted_; }
private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

}  // namespace corvalis::testing
