#include "platform/FolderCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>
#include <string_view>

#include "platform/FileError.h"
#include "platform/RegularFile.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// The folder's full name without a trailing separator, links of its existing part resolved.
fs::path FullFolderName(const std::string& name) {
    std::error_code ec;
    fs::path path = fs::weakly_canonical(fs::absolute(name, ec), ec);
    if (path.empty()) path = fs::absolute(name, ec).lexically_normal();
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) path = path.parent_path();
    return path;
}

bool IsSameOrInside(const fs::path& inner, const fs::path& outer) {
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first == outer.end();
}

std::string TargetRefusal(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (!fs::is_directory(from, ec)) return "it is not a folder";
    if (IsSameOrInside(to, from)) return "that is the folder itself or a folder inside it; choose a folder outside it";
    const fs::file_status status = fs::symlink_status(to, ec);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) return "that is a file, not a folder";
        if (!fs::is_empty(to, ec) || ec) return "that folder is not empty; choose a new or empty folder";
        return {};
    }
    if (!fs::is_directory(to.parent_path(), ec)) return "the folder " + to.parent_path().string() + " does not exist";
    return {};
}

std::string SystemReason() { return std::strerror(errno); }

// Writes a new file with exactly these bytes and these permission bits, on the disk before it
// returns.
void WriteNewFile(const fs::path& path, std::string_view bytes, fs::perms permissions) {
    const std::string name = path.string();
    auto failure = [&name](const std::string& reason) {
        return EFileError("Cannot write file \"" + name + "\". " + reason, name);
    };
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) throw failure(SystemReason());
    std::size_t done = 0;
    bool written = true;
    while (written && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) done += static_cast<std::size_t>(n);
    }
    written = written && ::fchmod(fd, static_cast<mode_t>(permissions)) == 0 && ::fsync(fd) == 0;
    const std::string reason = written ? std::string() : SystemReason();
    if (::close(fd) != 0 && written) throw failure(SystemReason());
    if (!written) throw failure(reason);
}

// A link is taken along only when its text, read from the link's own folder, stays inside the
// copied folder: the copy then links to its own files, never back to the source or elsewhere.
void CopyLink(const fs::path& link, const fs::path& relative, const fs::path& copy) {
    const fs::path text = fs::read_symlink(link);
    const fs::path reached = (relative.parent_path() / text).lexically_normal();
    if (text.is_absolute() || reached.empty() || *reached.begin() == "..")
        throw EFileError("Cannot copy \"" + link.string() + "\": it is a symbolic link to " + text.string() +
                             ", outside the folder.",
                         link.string());
    fs::create_symlink(text, copy);
}

fs::perms Writable(fs::perms permissions) { return permissions | fs::perms::owner_write; }

void CopyTree(const fs::path& from, const fs::path& to, const ReplacedFiles& replaced) {
    std::set<std::string> written;
    for (auto it = fs::recursive_directory_iterator(from); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path relative = it->path().lexically_relative(from);
        const fs::path copy = to / relative;
        const fs::file_status status = it->symlink_status();
        if (fs::is_symlink(status)) {
            CopyLink(it->path(), relative, copy);
        } else if (fs::is_directory(status)) {
            fs::create_directory(copy);
            fs::permissions(copy, Writable(status.permissions()));
        } else {
            const auto given = replaced.find(relative.generic_string());
            const std::string bytes = given != replaced.end() ? given->second : ReadRegularFile(it->path().string());
            WriteNewFile(copy, bytes, Writable(status.permissions()));
            written.insert(relative.generic_string());
        }
    }
    for (const auto& [name, bytes] : replaced) {
        if (written.count(name) == 0) WriteNewFile(to / name, bytes, fs::perms(0644));
    }
    fs::permissions(to, Writable(fs::status(from).permissions()));
}

// A new hidden folder beside the target that holds the copy until it is complete; removed with
// whatever it holds unless it was renamed into place.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const fs::path& target) {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const fs::path candidate =
                target.parent_path() / ("." + target.filename().string() + ".copy-" + std::to_string(random()));
            if (fs::create_directory(candidate)) path_ = candidate;
        }
        if (path_.empty())
            throw EFileError("Cannot make a folder beside \"" + target.string() + "\".", target.string());
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder() {
        if (path_.empty()) return;
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }
    void RenameTo(const fs::path& target) {
        fs::rename(path_, target);
        path_.clear();
    }

private:
    fs::path path_;
};

}  // namespace

std::string FolderCopyRefusal(const std::string& source, const std::string& target) {
    const std::string reason = TargetRefusal(FullFolderName(source), FullFolderName(target));
    if (reason.empty()) return {};
    return "Cannot copy \"" + source + "\" to \"" + target + "\": " + reason + ".";
}

void CopyFolder(const std::string& source, const std::string& target, const ReplacedFiles& replaced) {
    const std::string refusal = FolderCopyRefusal(source, target);
    if (!refusal.empty()) throw EFileError(refusal, target);
    const fs::path to = FullFolderName(target);
    try {
        TemporaryFolder copy(to);
        CopyTree(FullFolderName(source), copy.Path(), replaced);
        // An empty folder of the target's name is replaced in the same step.
        copy.RenameTo(to);
    } catch (const fs::filesystem_error& error) {
        const std::string name = error.path1().empty() ? target : error.path1().string();
        throw EFileError("Cannot copy \"" + source + "\" to \"" + target + "\": " + name + ": " +
                             error.code().message() + ".",
                         name);
    }
}

}  // namespace platform
