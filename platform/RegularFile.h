#pragma once
// Reading a whole file that is named by a data file (a scenario, an environment, a map), which may
// name anything: only a regular file of a sane size is read. A FIFO would block the reader, a
// device such as /dev/zero never ends, a folder has no bytes.

#include <cstdint>
#include <string>

namespace platform {

// Far more than any text or side file of a real scenario or map.
inline constexpr std::uintmax_t kMaxReadFileBytes = std::uintmax_t{256} << 20;

// The bytes of the file. Throws EFileError naming the file (as `shownName`, else `path`) when it
// cannot be opened, is not a regular file, holds more than `maxBytes` bytes or fails to read.
std::string ReadRegularFile(const std::string& path, const std::string& shownName = {},
                            std::uintmax_t maxBytes = kMaxReadFileBytes);

}  // namespace platform
