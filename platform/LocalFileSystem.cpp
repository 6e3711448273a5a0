#include "platform/LocalFileSystem.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/FileError.h"
#include "platform/PathNames.h"

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

std::string LocalFileSystem::ReadBytes(const std::string& name) {
    fs::path path = Resolve(name);
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        throw EFileError("Cannot open file \"" + name + "\". It is a directory.", name);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EFileError("Cannot open file \"" + name + "\". " + Reason(), name);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EFileError("Read error in file \"" + name + "\".", name);
    return bytes;
}

void LocalFileSystem::WriteBytes(const std::string& name, std::string_view bytes) {
    fs::path path = Resolve(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw EFileError("Cannot create file \"" + name + "\". " + Reason(), name);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw EFileError("Write error in file \"" + name + "\".", name);
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
