#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/FileError.h"

namespace platform {

namespace {

// Closes the descriptor when the read ends, however it ends.
struct Descriptor {
    explicit Descriptor(int fd) : Fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (Fd >= 0) ::close(Fd);
    }
    int Fd;
};

}  // namespace

std::string ReadRegularFile(const std::string& path, const std::string& shownName, std::uintmax_t maxBytes) {
    const std::string& name = shownName.empty() ? path : shownName;
    auto failure = [&name](const std::string& reason) {
        return EFileError("Cannot open file \"" + name + "\". " + reason, name);
    };
    // Without O_NONBLOCK opening a FIFO waits for a writer; the type is looked at once it is open.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Fd < 0) throw failure(std::strerror(errno));
    struct stat info {};
    if (::fstat(file.Fd, &info) != 0) throw failure(std::strerror(errno));
    if (S_ISDIR(info.st_mode)) throw failure("It is a directory.");
    if (!S_ISREG(info.st_mode)) throw failure("It is not a regular file.");
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes)
        throw failure("It is larger than " + std::to_string(maxBytes >> 20) + " MB.");
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(file.Fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EFileError("Read error in file \"" + name + "\".", name);
        if (n == 0) break;  // shortened while read: what is there
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace platform
