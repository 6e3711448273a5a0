#include "platform/ExtendedAttributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <string>
#include <string_view>

namespace platform {

namespace {

// Calls read(buffer, size) until the buffer takes the whole answer; the answer may grow
// between asking for its size and reading it. False with errno set on a failure.
template <typename Read>
bool ReadGrowing(std::string& buffer, Read read) {
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) return false;
        buffer.resize(static_cast<std::size_t>(size));
        const ssize_t got = size == 0 ? 0 : read(buffer.data(), buffer.size());
        if (got >= 0) {
            buffer.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) return false;
    }
}

bool Unsupported(int error) { return error == ENOTSUP || error == EOPNOTSUPP; }

}  // namespace

bool CopyExtendedAttributes(const char* from, int toFd) {
    std::string names;
    if (!ReadGrowing(names, [from](char* to, std::size_t size) { return ::listxattr(from, to, size); }))
        return Unsupported(errno);
    std::string value;
    for (std::size_t start = 0; start < names.size();) {
        const std::size_t end = names.find('\0', start);
        const std::string name = names.substr(start, end - start);
        start = end == std::string::npos ? names.size() : end + 1;
        if (name.empty()) continue;
        const bool read = ReadGrowing(value, [from, &name](char* to, std::size_t size) {
            return ::getxattr(from, name.c_str(), to, size);
        });
        if (!read) {
            if (errno == ENODATA) continue;  // removed meanwhile
            return false;
        }
        if (::fsetxattr(toFd, name.c_str(), value.data(), value.size(), 0) == 0) continue;
        // One the new file was given anyway (a security label from the folder) need not be set.
        const int error = errno;
        std::string given;
        const bool same = ReadGrowing(given, [toFd, &name](char* to, std::size_t size) {
            return ::fgetxattr(toFd, name.c_str(), to, size);
        });
        if (!same || given != value) {
            errno = error;
            return false;
        }
    }
    return true;
}

}  // namespace platform
